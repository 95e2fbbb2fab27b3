// The File menu's New, Open and Save, with their dialogs and message boxes.
#pragma once

#include <windows.h>

extern char fileDialogPath[MAX_PATH];
extern OPENFILENAMEA fileDialog;

// True when the map was replaced; the caller then shows the new map.
bool FileNew(HWND window);
bool FileOpen(HWND window);
void FileSave(HWND window);

// Writes the pair; a failure is shown as the save failure message.
void WriteMapFilePair(const char* mapPath, HWND window);
