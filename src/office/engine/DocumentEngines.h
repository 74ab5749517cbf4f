#pragma once
// The in-process office engine's Word and PowerPoint: they open Word and
// PowerPoint 97-2003 files to count their pages and slides, and never write
// them (the bytes are read once at opening; no file stays open).
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "automation/PowerPoint.h"
#include "automation/Word.h"

namespace office::engine {

// A new, hidden Word instance with no documents open.
std::shared_ptr<automation::word::Application> createWordApplication();

// An embedded Word document activated from a workbook: the copy `bytes`
// opened as `name` in the Word instance started last and not quit yet (a
// new hidden one when none runs), where it becomes the active document.
// Word's errors for a document it cannot read.
std::shared_ptr<automation::word::Document> openEmbeddedWordDocument(std::span<const std::uint8_t> bytes,
                                                                     const std::string& name);

// GetObject on a presentation file: the presentation opened in a
// PowerPoint instance of its own, its only presentation.
std::shared_ptr<automation::powerpoint::Presentation> bindPresentationFile(const std::string& path);

}  // namespace office::engine
