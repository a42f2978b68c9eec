// The regular-expression engine built into the program, for systems without the COM component.
#pragma once

#include <vector>

#include "text/text.h"

struct BuiltInMatch {
    int position = 0;  // 0-based byte offset in the subject
    Text text;
    TextArray groups;  // group 1 first; a group that took no part is empty
};

struct BuiltInRegex {
    Text pattern;
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
    bool compiled = false;  // false: the pattern was refused, or Create never ran
    std::vector<BuiltInMatch> matches;
};

// Compiles pattern and collects its matches in subject (all of them, or only the first when not
// global), left to right without overlap. "." never matches a line feed; ignoring case folds
// only A to Z; a double-byte character is one character. Returns false for a refused pattern.
bool BuiltInCreate(BuiltInRegex& regex, const Text& pattern, const Text& subject,
                   bool caseSensitive, bool multiline, bool global);

// subject with the matches of regex replaced; "$1".."$99", "$&", "$`", "$'" and "$$" in
// replacement stand for what they stand for in the system component.
Text BuiltInReplace(const BuiltInRegex& regex, const Text& subject, const Text& replacement);
