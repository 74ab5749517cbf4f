#pragma once
// The base workbook store: creating BasePresentation.xls, opening it for one
// command, and closing it with or without saving; the shared end after an
// unexpected error; the pause that keeps windows alive; file kinds.
#include <string>

#include "automation/AutomationError.h"
#include "core/Context.h"
#include "ui/model/Control.h"

namespace store {

// Sets BaseFileName and BasePassword.
void InitFixedSettings(core::AppState& state);

// Creates the base workbook in `folder` (ending with the separator): sheets
// START and very hidden DATA with its header row, saved with the base
// password; tells the user. Ends the program when Excel cannot be started.
void CreateBaseWorkbook(core::Context& ctx, const std::string& folder);

// Opens the base workbook of DataFolder and sets ExcelApp, BaseWorkbook and
// DataSheet, or ends the program. Errors of the open itself go to the caller.
void OpenBaseWorkbook(core::Context& ctx);
// Quits Excel without saving; never reports an error.
void CloseBaseWorkbookDiscard(core::Context& ctx);
// Saves in place and quits Excel; errors go to the caller.
void SaveAndCloseBaseWorkbook(core::Context& ctx);

// Pauses WaitTime seconds of elapsed time, letting window events run.
void WaitSeconds(core::Context& ctx);
// A command's feedback: `button` green with "OK" for half a second, then
// back to its colour and `caption`.
void ShowDone(core::Context& ctx, ui::CommandButton& button, const std::string& caption);

// The text after the last "." of `name`, or the whole name without one.
std::string FileExtension(const std::string& name);

// Closes the presentation and the document the document probe holds, if
// any, and empties their slots; never reports an error.
void CloseProbedDocuments(core::AppState& state);

// Shows "Not recoverable error!!!!" with the error's number and description,
// discards the open base workbook, closes the documents the probe holds,
// and ends the program.
[[noreturn]] void FatalError(core::Context& ctx, const automation::AutomationError& error);

}  // namespace store
