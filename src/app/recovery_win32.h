// The recovery copy of unsaved work in the editor: where the copies live,
// the keeper following the history, and the question at start.
#pragma once

#include <windows.h>

#include <string>

#include "app/editor_state_win32.h"

// %LOCALAPPDATA%\Kalmia\Recovery, never beside the user's files.
std::string RecoveryFolder();

// The keeper follows every step of the history from now on (the history's
// follower hands it each step).
void StartKeepingRecovery(EditorState& editor);

// Offers the copies of editors that no longer run, newest first ("編集の
// 復元"): Yes puts that copy's map in place, with unsaved changes, and ends
// the questions; No removes the copy. True when a map was put in place.
bool OfferRecoveryCopies(HWND window, EditorState& editor);

// The map was saved, or New or Open put another one in place (`removeCopy`
// for New, whose question the user answered Yes).
void FollowSavedMap(EditorState& editor);
void FollowOtherMapInPlace(EditorState& editor, bool removeCopy);

// At the end: what is owed is written, and the copies stay for the next
// start.
void StopKeepingRecovery(EditorState& editor);
