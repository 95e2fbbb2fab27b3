// Undo and redo. A step stores only what it changed: the cells as XOR masks
// of the 64 × 64 blocks that hold a changed cell (one bit a cell), so the
// same masks undo and redo it; a parameter change its values before and
// after, and the set cells that a smaller size dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/cell_masks.h"
#include "document/map_document.h"
#include "document/map_parameters.h"

struct ParameterChange {
    MapParameters before, after;
    CellMasks dropped;  // set cells that the new size dropped, where they were
};

struct EditStep {
    CellMasks cells;                            // cells changed in place
    std::optional<ParameterChange> parameters;  // a change from the parameter dialog
};

std::size_t StepBytes(const EditStep& step);

constexpr std::size_t DEFAULT_HISTORY_BYTES = 256u << 20;

enum class StepDirection { Forward, Backward };  // recorded or redone; undone

// Who follows the map's changes from outside (the recovery copy): told of
// each step as it reaches the map, after the history has taken it in, and
// of a change to the map that no step records (a step that could not be
// kept for want of memory).
struct HistoryFollower {
    std::function<void(const EditStep&, StepDirection)> stepApplied;
    std::function<void()> untrackedChange;
};

// `done` at the moment the map was last saved or opened; none once the
// steps that lead back there are gone.
constexpr std::size_t SAVED_STATE_GONE = static_cast<std::size_t>(-1);

struct EditHistory {
    std::deque<EditStep> steps;
    std::size_t done = 0;  // steps[0, done) can be undone, steps[done, end) redone
    std::size_t bytes = 0;
    std::size_t capacity = DEFAULT_HISTORY_BYTES;
    std::size_t savedAt = 0;
    HistoryFollower follower;
};

// Adds a finished step: the steps that could be redone are gone, and the
// oldest steps go while the history holds more than its capacity. A step
// with nothing in it is not recorded.
void RecordStep(EditHistory& history, EditStep step);

bool CanUndo(const EditHistory& history);
bool CanRedo(const EditHistory& history);

// Takes the last step back, or does the next one again, on `document`; the
// cells the step changed (for a parameter change, the whole map), or nullopt
// when there was no step. Leaves document and history as they were when
// memory runs out (std::bad_alloc).
std::optional<CellArea> Undo(EditHistory& history, MapDocument& document);
std::optional<CellArea> Redo(EditHistory& history, MapDocument& document);

// New and Open: the map is another one, as saved, and nothing can be undone.
// The capacity and the follower stay.
void ClearHistory(EditHistory& history);

// Whether the map differs from what was last saved or opened, as far as
// the history tells: undoing back to the saved state means it does not.
bool HasUnsavedChanges(const EditHistory& history);
void MarkSaved(EditHistory& history);
// A map that was never saved as it is (one brought back from a recovery
// copy).
void MarkUnsaved(EditHistory& history);
