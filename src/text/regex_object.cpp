#include "text/regex_object.h"

#include <atomic>

namespace {

std::atomic<bool> forceBuiltIn{false};

#ifdef _WIN32
bool BuiltInOnly() {
    return forceBuiltIn.load();
}
#else
bool BuiltInOnly() {
    return true;
}
#endif

// The returned text is searched for from the start of its whole match, so that a group gets
// its own position, whatever the engine counts (the component counts UTF-16 characters).
int PositionOfPiece(const Text& subject, const Text& piece, int matchStart, bool ignoreCase) {
    if (matchStart < 0) return -2;
    if (piece.empty()) return matchStart;
    return FindText(subject, piece, matchStart + 1, ignoreCase) - 1;
}

}  // namespace

void ForceBuiltInRegexEngine(bool force) {
    forceBuiltIn.store(force);
}

RegexObject::RegexObject() : builtIn_(BuiltInOnly()) {
#ifdef _WIN32
    comInitialised_ = InitialiseCom();
#endif
}

RegexObject::RegexObject(const RegexObject& other)
    :
#ifdef _WIN32
      component_(other.component_),
      matches_(other.matches_),
#endif
      subject_(other.subject_),
      builtIn_(other.builtIn_),
      engine_(other.engine_) {
#ifdef _WIN32
    // The copy uninitialises COM when it goes, so it must count for itself.
    comInitialised_ = InitialiseCom();
#endif
}

RegexObject::~RegexObject() {
#ifdef _WIN32
    // Every reference goes before COM may unload the component.
    matches_.Clear();
    component_.Clear();
    if (comInitialised_) UninitialiseCom();
#endif
}

bool RegexObject::Create(const Text& pattern, const Text& subject, bool caseSensitive,
                         bool multiline, bool global) {
    subject_ = subject;
#ifdef _WIN32
    // Windows is removing VBScript, and with it this component; the built-in engine stands in.
    component_.Clear();
    matches_.Clear();
    if (!BuiltInOnly()) component_ = NewRegExpComponent();
    builtIn_ = component_.Empty();
    if (!builtIn_) {
        engine_ = BuiltInRegex{};
        matches_ = ComExecute(component_.Get(), pattern, subject, caseSensitive, multiline, global);
        return !matches_.Empty();
    }
#endif
    return BuiltInCreate(engine_, pattern, subject, caseSensitive, multiline, global);
}

Text RegexObject::PatternText() const {
#ifdef _WIN32
    if (!builtIn_) return ComPattern(component_.Get());
#endif
    return engine_.pattern;
}

Text RegexObject::Replace(const Text& replacement) const {
#ifdef _WIN32
    if (!builtIn_) return ComReplace(component_.Get(), subject_, replacement);
#endif
    return BuiltInReplace(engine_, subject_, replacement);
}

int RegexObject::MatchCount() const {
#ifdef _WIN32
    if (!builtIn_) return ComCount(matches_.Get());
#endif
    return static_cast<int>(engine_.matches.size());
}

Text RegexObject::MatchText(int match, int* position) const {
    return PieceText(match, 0, position);
}

Text RegexObject::SubmatchText(int match, int group, int* position) const {
    if (group < 1) {
        if (position) *position = -2;
        return Text();
    }
    return PieceText(match, group, position);
}

int RegexObject::SubmatchCount() const {
#ifdef _WIN32
    if (!builtIn_) return ComSubmatchCount(matches_.Get());
#endif
    return engine_.matches.empty() ? 0 : static_cast<int>(engine_.matches[0].groups.size());
}

// group 0 is the whole match.
Text RegexObject::PieceText(int match, int group, int* position) const {
    Text piece;
    int matchStart = -1;
    bool ignoreCase = false;
#ifdef _WIN32
    if (!builtIn_) {
        int firstIndex = -1;
        piece =
            ComMatchText(matches_.Get(), match - 1, group - 1, position ? &firstIndex : nullptr);
        if (position && firstIndex >= 0) {
            matchStart = ByteOffsetOfCharacter(subject_, firstIndex);
            ignoreCase = ComIgnoresCase(component_.Get());
        }
    }
#endif
    if (builtIn_ && match >= 1 && match <= static_cast<int>(engine_.matches.size())) {
        const BuiltInMatch& found = engine_.matches[static_cast<size_t>(match - 1)];
        if (group == 0) {
            piece = found.text;
            matchStart = found.position;
        } else if (group <= static_cast<int>(found.groups.size())) {
            piece = found.groups[static_cast<size_t>(group - 1)];
            matchStart = found.position;
        }
        ignoreCase = !engine_.caseSensitive;
    }
    if (position) *position = PositionOfPiece(subject_, piece, matchStart, ignoreCase);
    return piece;
}
