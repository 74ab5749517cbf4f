#pragma once
// The Word object model as the program calls it: an application with its
// documents, and the page a "go to" reaches. Every failed call raises
// AutomationError (number, description). The engine behind it reads Word
// 97-2003 documents and never writes them.
#include <memory>
#include <string>

namespace automation::word {

// Constant values as Word defines them.
inline constexpr long kGoToPage = 1;       // wdGoToPage, the `What` of Goto
inline constexpr long kGoToAbsolute = 1;   // wdGoToAbsolute (= wdGoToFirst), the `Which`
inline constexpr long kGoToNext = 2;       // wdGoToNext (= wdGoToRelative)
inline constexpr long kGoToPrevious = 3;   // wdGoToPrevious
inline constexpr long kGoToLast = -1;      // wdGoToLast
inline constexpr int kDoNotSaveChanges = 0;  // wdDoNotSaveChanges

class Application;

// A stretch of the document; Start and End are character positions.
class Range {
public:
    virtual ~Range() = default;
    virtual long Start() const = 0;
    virtual long End() const = 0;
};

class Document {
public:
    virtual ~Document() = default;
    virtual std::string Name() const = 0;      // file name without folder
    virtual std::string FullName() const = 0;  // full path

    // `what` kGoToPage only. With kGoToAbsolute the range is the start of
    // page `count` (1-based); a count past the last page lands on the last
    // page, a count below 1 on the first. kGoToNext and kGoToPrevious move
    // `count` pages from the first page, kGoToLast goes to the last page.
    // The starts of the pages rise with the page number.
    virtual std::shared_ptr<Range> Goto(long what, long which, long count) = 0;

    // Tavolex's own addition: true when the document records no page count
    // of its own, so the pages are an estimate from its text (see the
    // engine's notes); callers tell the user so.
    virtual bool PageCountIsEstimate() const = 0;

    // Closes the document; nothing is ever written to its file, whatever
    // `saveChanges` says.
    virtual void Close(int saveChanges = kDoNotSaveChanges) = 0;
    // The application that opened it.
    virtual std::shared_ptr<Application> GetApplication() = 0;
};

class Documents {
public:
    virtual ~Documents() = default;
    // Opens `fileName` (a Word 97-2003 document). Missing: 5174; not a Word
    // document or damaged: 5792; protected by a password: 5408; not readable:
    // 70. Opening a document that is open already gives that document.
    virtual std::shared_ptr<Document> Open(const std::string& fileName) = 0;
    virtual long Count() const = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual Documents& GetDocuments() = 0;
    // The document opened last and not closed since; nullptr if none.
    virtual std::shared_ptr<Document> ActiveDocument() = 0;
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    // Closes every document (nothing is written) and ends the instance; later
    // calls on it or its objects raise an error.
    virtual void Quit(int saveChanges = kDoNotSaveChanges) = 0;
};

}  // namespace automation::word
