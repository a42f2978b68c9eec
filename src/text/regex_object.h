// A regular expression compiled and run once over a subject, then asked about its matches.
//
// Behind it is the system's "VBScript.RegExp" component where the system has one, and the
// built-in engine otherwise; both behave alike: "." never matches a line feed, "(.*?)" is lazy,
// ignoring case folds only A to Z, all matches are collected left to right without overlap.
// An object belongs to the thread that made it.
#pragma once

#include "text/regex_builtin.h"
#include "text/regex_com.h"
#include "text/text.h"

class RegexObject {
  public:
    // Initialises COM on the calling thread (the destructor balances it).
    RegexObject();
    // Shares the copied object's component and matches; initialises COM once more for itself.
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject&) = delete;
    ~RegexObject();

    // Compiles pattern and runs it over subject, replacing what an earlier call left. True when
    // the pattern was accepted (also when nothing matched).
    bool Create(const Text& pattern, const Text& subject, bool caseSensitive = false,
                bool multiline = true, bool global = true);
    Text PatternText() const;
    // The stored subject with every match (the first only, when not global) replaced;
    // "$1".."$99", "$&", "$`", "$'" and "$$" stand for the usual pieces.
    Text Replace(const Text& replacement = Text()) const;
    int MatchCount() const;
    // Match and group numbers count from 1; outside the matches the text is empty. position,
    // when given, receives the 0-based byte offset of the returned text in the subject: the first
    // occurrence of it at or after the start of the whole match (-2 when not found).
    Text MatchText(int match, int* position = nullptr) const;
    Text SubmatchText(int match, int group, int* position = nullptr) const;
    // Number of groups of the first match.
    int SubmatchCount() const;

    // True when the built-in engine stands in for the component.
    bool UsesBuiltInEngine() const { return builtIn_; }

  private:
    Text PieceText(int match, int group, int* position) const;

#ifdef _WIN32
    bool comInitialised_ = false;
    DispatchHolder component_;
    DispatchHolder matches_;
#endif
    Text subject_;
    bool builtIn_;
    BuiltInRegex engine_;
};

// Tests only: make objects created from now on use the built-in engine even where the system
// has the component, so one table of cases runs against both.
void ForceBuiltInRegexEngine(bool force);
