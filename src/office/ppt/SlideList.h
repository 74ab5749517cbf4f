#pragma once
// How many slides a PowerPoint 97-2003 presentation has ([MS-PPT]): the
// "Current User" stream points at the last edit, whose chain of edits builds
// the persist directory; the directory leads to the document container,
// whose slide list holds one persist atom per slide, each pointing at the
// slide's own record. Hidden slides count as slides, as in PowerPoint.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace office::ppt {

struct PresentationSlides {
    long slides = 0;                     // from the slide list: the count the engine reports
    std::optional<long> recordedSlides;  // what the document summary information says, when it says
};

// Reads the slides of a presentation held in memory. Errors (AutomationError,
// PowerPoint's "could not open" number): not a compound file or not a
// presentation, damaged (an edit, the directory, the document or a slide
// record missing or out of place), saved by PowerPoint 95 or older,
// protected by a password.
PresentationSlides readPresentationSlides(std::span<const std::uint8_t> fileBytes);

// The same for a file; a missing file raises 432, an unreadable one 70.
PresentationSlides readPresentationSlidesFile(const std::string& path);

}  // namespace office::ppt
