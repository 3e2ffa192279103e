// The plain values of the buttons' stored description: keys and words that compare without regard to
// case, Booleans and whole numbers.
#pragma once
#include <string>

bool sameKey(const std::string& a, const std::string& b);
// A stored Boolean: True/False (any case), -1, 1 or 0; false for anything else.
bool parseFlag(const std::string& text, bool& flag);
// A stored whole number within [low, high]; false for anything else.
bool parseWhole(const std::string& text, long long low, long long high, long long& value);
