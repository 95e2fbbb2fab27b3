// The File menu's New, Open and Save, with their dialogs and message boxes.
#pragma once

#include <windows.h>

extern char fileDialogPath[MAX_PATH];
extern OPENFILENAMEA fileDialog;

void FileNew(HWND window);
void FileOpen(HWND window);
void FileSave(HWND window);

// Writes the pair; a failure is shown as the save failure message.
void WriteMapFilePair(const char* mapPath, HWND window);
