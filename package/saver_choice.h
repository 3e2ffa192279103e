// What installing and removing Vitrelux does to the user's choice of screen saver.
#pragma once
#include <string>
#include <vector>

// Whether the stored screen saver is one of the given files, compared as Windows compares paths
// (letter case aside). Paths are UTF-8.
bool NamesSaver(const std::string& stored, const std::vector<std::string>& files);
// Whether installing makes ours the user's screen saver: when asked to, and when it was ours before
// the install (so an upgrade, or the other build replacing this one, keeps the user's choice).
bool SetsSaver(bool asked, const std::string& storedBefore, const std::vector<std::string>& ourSavers);
