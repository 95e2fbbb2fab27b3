// Reads a DIALOGEX template from the executable's resources, so tests can
// compare it field by field with the dialog the program is meant to have.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateControl {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    int id;
    std::string className;  // "BUTTON", "EDIT", "STATIC" for the predefined atoms
    std::string text;       // as the program's narrow string
};

struct DialogTemplate {
    WORD language;            // of the resource, as MAKELANGID gives it
    std::string menu;         // "" for none, "#n" for an ordinal
    std::string windowClass;  // "" for the system's dialog class
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::string caption;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charset;
    std::string font;
    std::vector<TemplateControl> controls;
};

// Empty controls and caption if the resource is missing or not a DIALOGEX.
DialogTemplate ReadDialogTemplate(int id);
