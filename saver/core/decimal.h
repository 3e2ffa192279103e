// Reading numbers the way the front end's settings and command line have always been read:
// a decimal literal after optional blanks, with optional sign, fraction and exponent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reads the number at the start of text (after blanks); false when no digit is found.
// used, when given, receives how many characters the blanks and the number took.
bool ReadDecimalPrefix(const std::string& text, double& value, std::size_t* used = nullptr);
// Reads text that holds the number and nothing else but blanks; false for anything else.
bool ReadDecimal(const std::string& text, double& value);
// A whole number as 16 bits; 0 where it does not fit (or is not finite), as the stored settings take it.
std::int16_t SixteenBitsOrZero(double whole);
