#pragma once
// A Word, PowerPoint or PDF line full screen, drawn from its PDF pages with
// Qt PDF: only the pages of the line's range exist for the view. A document
// is a strip of pages to scroll, a presentation a slide show.
#include <QDialog>
#include <QImage>
#include <QPdfDocument>
#include <QScrollArea>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace app {

// Pages first..last (1-based) of a document one under another on grey,
// each drawn when it comes into sight.
class PageStrip : public QWidget {
    Q_OBJECT
public:
    PageStrip(QPdfDocument& document, int first, int last, QWidget* parent = nullptr);
    // Lays the pages out for a view `width` pixels wide.
    void fitWidth(int width);
    // The document's pages laid out, in order.
    std::vector<int> pages() const;
    // Where page `page` (of the document) lies; empty outside the range.
    QRect pageRect(int page) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPdfDocument& document_;
    int first_, last_;
    std::vector<QRect> rects_;     // of pages first_.., in the strip
    std::map<int, QImage> drawn_;  // by page: the few pages in sight
};

// Slides first..last (1-based) one at a time, filling the screen on black.
// Forward: Right, Down, Page Down, space, Enter, a left click; back: Left,
// Up, Page Up, Backspace, a right click; Home and End.
class SlideShow : public QWidget {
    Q_OBJECT
public:
    SlideShow(QPdfDocument& document, int first, int last, QWidget* parent = nullptr);
    int current() const { return current_; }  // the document's page shown
    void next();
    void previous();
    // The slide as drawn for the widget's present size.
    QImage slideImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void go(int page);

    QPdfDocument& document_;
    int first_, last_, current_;
    QImage drawn_;
};

// The full-screen window of a line: Esc and Alt+F4 close it.
class DocumentWindow : public QDialog {
    Q_OBJECT
public:
    // AutomationError when the PDF cannot be read.
    DocumentWindow(const std::string& pdfPath, int first, int last, bool slideShow, const std::string& title);
    PageStrip* strip() const { return strip_; }
    SlideShow* slides() const { return show_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPdfDocument document_;
    QScrollArea* scroll_ = nullptr;
    PageStrip* strip_ = nullptr;
    SlideShow* show_ = nullptr;
};

// Shows the window full screen; returns when the user closes it.
void ShowDocumentFullScreen(const std::string& pdfPath, int first, int last, bool slideShow, const std::string& title);

}  // namespace app
