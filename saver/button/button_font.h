// A caption's font as the buttons persist it, and its stored text form.
#pragma once
#include <string>

// The typeface is UTF-8.
struct ButtonFont {
    std::string typeface;
    double points = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
    bool operator==(const ButtonFont& other) const;
};

// "typeface,points,weight,italic,underline,strikethrough,charset"; the typeface may hold commas.
bool parseFont(const std::string& text, ButtonFont& font);
