// The File menu's New, Open and Save, with their dialogs and message boxes.
#pragma once

#include <windows.h>

#include <string>

extern char fileDialogPath[MAX_PATH];
extern OPENFILENAMEA fileDialog;

// True when the map was replaced; the caller then shows the new map. The
// file dialogs open in `folder` (none: the system's choice) until a path of
// this run is in fileDialogPath; an opened or saved path is there after.
bool FileNew(HWND window);
bool FileOpen(HWND window, const std::string& folder);

// Opens the pair of a path that came from outside the File menu (the
// command line, a file dropped on the window) as Open does, the failure box
// included; `shownName` is the file name that box names.
bool OpenMapPath(HWND window, const std::string& path, const std::string& shownName);
// True when the pair was written.
bool FileSave(HWND window, const std::string& folder);

// Writes the pair; a failure is shown as the save failure message.
bool WriteMapFilePair(const char* mapPath, HWND window);
