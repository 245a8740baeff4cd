// Undo and redo: a list of steps, each what one command, dialog OK or 3D-window
// action changed in the document (see edit/undo_state.h for which fields count).
//
// The history keeps a shadow of the document's undoable state as it was at the
// last record. record() is called after anything that may have edited the
// document: it compares the document with the shadow and, when an edit field
// changed, stores a step holding only what changed (the skeleton or keyframes
// when they changed, single corners' weight lists, the small field groups and
// the menu state) and drops the steps that could have been redone. A change of
// the edit mode or the menu alone makes no step; it is taken into the shadow and
// travels with the next step. undo() and redo() put a step's state back.
//
// Open, Add and a new document start a new history (reset); Save keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/shell_ui.h"
#include "edit/undo_state.h"

namespace lw {

// The history keeps at least this many steps; the oldest goes first.
inline constexpr size_t kUndoStepLimit = 100;

// The status bar texts after an undo or redo of `label`, and when there is
// nothing to undo or redo (CP932).
std::string undoneText(const std::string& label);
std::string redoneText(const std::string& label);
inline constexpr char kNothingToUndoText[] = "元に戻す操作はありません";
inline constexpr char kNothingToRedoText[] = "やり直す操作はありません";

class UndoHistory {
 public:
  UndoHistory();
  ~UndoHistory();
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Starts a new, empty history at the document as it is.
  void reset(const SceneDocument& doc, const MenuState& menu = {});

  // Takes the document's changes since the last record as one step labelled
  // `label` (CP932). Returns true when a step was stored.
  bool record(const SceneDocument& doc, const std::string& label, const MenuState& menu = {});

  // Takes the document as it is as the last record's state without a step: what
  // Save changes on the way (it puts the joints into FK mode) is not an edit.
  void absorb(const SceneDocument& doc, const MenuState& menu = {});

  bool canUndo() const { return undone_ < steps_.size(); }
  bool canRedo() const { return undone_ > 0; }

  // Puts the document back to before the last step (after the last undone
  // step) and returns its label; nothing when there is none. Afterwards the
  // menu, the bone tree and the motion panel's frame display are refreshed
  // through `ui`, the skin buffers are rebound at the next deformation and the
  // 3D window is asked to redraw.
  std::optional<std::string> undo(SceneDocument& doc, ShellUi& ui);
  std::optional<std::string> redo(SceneDocument& doc, ShellUi& ui);

  size_t stepCount() const { return steps_.size(); }
  // Bytes held by the steps (not the shadow), counted from their contents.
  size_t stepBytes() const;
  // Bytes held by the shadow's copy of the weights.
  size_t weightShadowBytes() const;

  struct Step;

 private:
  struct Shadow;
  void apply(const Step& step, bool forward, SceneDocument& doc, ShellUi& ui);

  std::unique_ptr<Shadow> shadow_;
  std::deque<std::unique_ptr<Step>> steps_;  // oldest first
  size_t undone_ = 0;                        // steps at the end that were undone
};

}  // namespace lw
