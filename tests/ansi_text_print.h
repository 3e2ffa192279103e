// Code-page text printed as its bytes in a failed expectation, rather than as a dump of the object.
#pragma once
#include <ostream>

#include "saver/ansi_text.h"

inline void PrintTo(const AnsiText& text, std::ostream* out)
{
    *out << '"' << text.bytes() << '"';
}
