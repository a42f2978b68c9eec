// The system's "VBScript.RegExp" component, driven through IDispatch by member name.
#pragma once

#ifdef _WIN32
#include "text/text.h"

struct IDispatch;

// Owns one reference to a COM automation object; a copy adds a reference to the same object.
class DispatchHolder {
  public:
    DispatchHolder() = default;
    explicit DispatchHolder(IDispatch* adopted) : object_(adopted) {}
    DispatchHolder(const DispatchHolder& other);
    DispatchHolder& operator=(const DispatchHolder& other);
    ~DispatchHolder() { Clear(); }
    void Clear();
    IDispatch* Get() const { return object_; }
    bool Empty() const { return object_ == nullptr; }

  private:
    IDispatch* object_ = nullptr;
};

// A new instance of the component; empty when the system does not have it.
DispatchHolder NewRegExpComponent();

// Sets the options and the pattern on component and runs "Execute" over subject; the match
// collection, or empty when the component refused the pattern. Rejected writes are ignored.
DispatchHolder ComExecute(IDispatch* component, const Text& pattern, const Text& subject,
                          bool caseSensitive, bool multiline, bool global);

Text ComPattern(IDispatch* component);
Text ComReplace(IDispatch* component, const Text& subject, const Text& replacement);
int ComCount(IDispatch* collection);
bool ComIgnoresCase(IDispatch* component);

// Match number index (0-based) of the collection: its "Value", or element group (0-based) of
// its "SubMatches" when group >= 0; firstIndex receives "FirstIndex" (-1 when unknown). Empty
// text for a number outside the collection.
Text ComMatchText(IDispatch* matches, int index, int group, int* firstIndex);

// Number of groups of the first match.
int ComSubmatchCount(IDispatch* matches);

// Byte offset in subject of the character index a component reports.
int ByteOffsetOfCharacter(const Text& subject, int characterIndex);

// False when COM could not be initialised here (e.g. the thread already runs it
// multithreaded); only a true result may be balanced by UninitialiseCom.
bool InitialiseCom();
void UninitialiseCom();
#endif
