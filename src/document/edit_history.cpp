#include "document/edit_history.h"

#include <algorithm>
#include <new>
#include <numeric>

namespace {

void setFields(MapDocument& document, const MapParameters& parameters) {
    document.name = parameters.name;
    document.rank1 = parameters.rank1;
    document.rank2 = parameters.rank2;
    document.rate1 = parameters.rate1;
    document.rate2 = parameters.rate2;
}

void tellStep(const EditHistory& history, const EditStep& step, StepDirection direction) {
    if (history.follower.stepApplied) history.follower.stepApplied(step, direction);
}

CellArea wholeMap(const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return {0, 0, width - 1, height - 1};
}

}  // namespace

std::size_t StepBytes(const EditStep& step) {
    auto masksBytes = [](const CellMasks& masks) {
        return masks.blockKeys.capacity() * sizeof(std::uint64_t) +
               masks.rows.capacity() * sizeof(std::uint64_t);
    };
    std::size_t bytes = sizeof(EditStep) + masksBytes(step.cells);
    if (step.parameters)
        bytes += masksBytes(step.parameters->dropped) + step.parameters->before.name.capacity() +
                 step.parameters->after.name.capacity();
    return bytes;
}

void RecordStep(EditHistory& history, EditStep step) {
    if (step.cells.blockKeys.empty() && !step.parameters) return;
    if (history.savedAt != SAVED_STATE_GONE && history.savedAt > history.done)
        history.savedAt = SAVED_STATE_GONE;  // the saved state was among the redo steps
    while (history.steps.size() > history.done) {
        history.bytes -= StepBytes(history.steps.back());
        history.steps.pop_back();
    }
    // A step that cannot be kept for want of memory leaves no history at
    // all rather than one that no longer matches the map.
    try {
        history.bytes += StepBytes(step);
        history.steps.push_back(std::move(step));
        ++history.done;
    } catch (const std::bad_alloc&) {
        ClearHistory(history);
        history.savedAt = SAVED_STATE_GONE;
        if (history.follower.untrackedChange) history.follower.untrackedChange();
        return;
    }
    tellStep(history, history.steps.back(), StepDirection::Forward);
    while (history.bytes > history.capacity && !history.steps.empty()) {
        history.bytes -= StepBytes(history.steps.front());
        history.steps.pop_front();
        --history.done;
        if (history.savedAt != SAVED_STATE_GONE)
            history.savedAt = history.savedAt == 0 ? SAVED_STATE_GONE : history.savedAt - 1;
    }
}

bool CanUndo(const EditHistory& history) { return history.done > 0; }

bool CanRedo(const EditHistory& history) { return history.done < history.steps.size(); }

// The grid grows back first (all or nothing), so that the dropped cells
// have their places again; only then does anything else change.
std::optional<CellArea> Undo(EditHistory& history, MapDocument& document) {
    if (!CanUndo(history)) return std::nullopt;
    const EditStep& step = history.steps[history.done - 1];
    CellArea changed = step.cells.area;
    if (step.parameters) {
        const MapParameters& before = step.parameters->before;
        document.resizeGrid(before.x, before.y);
        ApplyMasks(step.parameters->dropped, document.cells);
        setFields(document, before);
        changed = wholeMap(document);
    }
    ApplyMasks(step.cells, document.cells);
    --history.done;
    tellStep(history, step, StepDirection::Backward);
    return changed;
}

std::optional<CellArea> Redo(EditHistory& history, MapDocument& document) {
    if (!CanRedo(history)) return std::nullopt;
    const EditStep& step = history.steps[history.done];
    CellArea changed = step.cells.area;
    if (step.parameters) {
        const MapParameters& after = step.parameters->after;
        document.resizeGrid(after.x, after.y);
        setFields(document, after);
        changed = wholeMap(document);
    }
    ApplyMasks(step.cells, document.cells);
    ++history.done;
    tellStep(history, step, StepDirection::Forward);
    return changed;
}

void ClearHistory(EditHistory& history) {
    std::deque<EditStep>().swap(history.steps);  // gives the memory back
    history.done = 0;
    history.bytes = 0;
    history.savedAt = 0;
}

bool HasUnsavedChanges(const EditHistory& history) { return history.savedAt != history.done; }

void MarkSaved(EditHistory& history) { history.savedAt = history.done; }

void MarkUnsaved(EditHistory& history) { history.savedAt = SAVED_STATE_GONE; }
