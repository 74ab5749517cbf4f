#include "app/DocumentView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "automation/AutomationError.h"

namespace app {

namespace {

constexpr int kGap = 16;           // pixels between pages and around them
constexpr double kMostZoom = 1.5;  // pages no wider than 150 % of their print size

// A page as large as fits `box`, keeping its shape.
QSize fitted(QSizeF points, QSize box) {
    if (points.isEmpty() || box.isEmpty()) return {};
    return points.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize();
}

// Space scrolls by a screen, as in a reader.
class PageScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
            QScrollBar* bar = verticalScrollBar();
            bar->setValue(bar->value() + bar->pageStep());
            return;
        }
        QScrollArea::keyPressEvent(event);
    }
};

}  // namespace

PageStrip::PageStrip(QPdfDocument& document, int first, int last, QWidget* parent)
    : QWidget(parent), document_(document), first_(first), last_(last) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageStrip::fitWidth(int width) {
    rects_.clear();
    drawn_.clear();
    int y = kGap;
    int widest = 0;
    for (int page = first_; page <= last_; ++page) {
        const QSizeF points = document_.pagePointSize(page - 1);
        const int most = static_cast<int>(points.width() * 96.0 / 72.0 * kMostZoom);
        const int pageWidth = std::max(1, std::min(width - 2 * kGap, most));
        const QSize size = fitted(points, QSize(pageWidth, 100000));
        rects_.emplace_back(QPoint(0, y), size);
        y += size.height() + kGap;
        widest = std::max(widest, size.width());
    }
    const int stripWidth = std::max(width, widest + 2 * kGap);
    for (QRect& rect : rects_) rect.moveLeft((stripWidth - rect.width()) / 2);
    setFixedSize(stripWidth, y);
    update();
}

std::vector<int> PageStrip::pages() const {
    std::vector<int> pages;
    for (std::size_t k = 0; k < rects_.size(); ++k) pages.push_back(first_ + static_cast<int>(k));
    return pages;
}

QRect PageStrip::pageRect(int page) const {
    if (page < first_ || page > last_ || rects_.empty()) return {};
    return rects_[static_cast<std::size_t>(page - first_)];
}

void PageStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
    std::map<int, QImage> inSight;
    for (std::size_t k = 0; k < rects_.size(); ++k) {
        const QRect& rect = rects_[k];
        if (!rect.intersects(event->rect())) continue;
        const int page = first_ + static_cast<int>(k);
        auto found = drawn_.find(page);
        QImage image = found != drawn_.end() ? found->second : document_.render(page - 1, rect.size());
        painter.fillRect(rect, Qt::white);
        painter.drawImage(rect.topLeft(), image);
        inSight.emplace(page, std::move(image));
    }
    // Only pages in sight stay drawn: a long range never fills the memory.
    if (!inSight.empty()) drawn_ = std::move(inSight);
}

SlideShow::SlideShow(QPdfDocument& document, int first, int last, QWidget* parent)
    : QWidget(parent), document_(document), first_(first), last_(last), current_(first) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SlideShow::go(int page) {
    page = std::clamp(page, first_, last_);
    if (page == current_) return;
    current_ = page;
    drawn_ = QImage();
    update();
}

void SlideShow::next() { go(current_ + 1); }
void SlideShow::previous() { go(current_ - 1); }

QImage SlideShow::slideImage() {
    const QSize size = fitted(document_.pagePointSize(current_ - 1), this->size());
    if (drawn_.size() != size) drawn_ = size.isEmpty() ? QImage() : document_.render(current_ - 1, size);
    return drawn_;
}

void SlideShow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage image = slideImage();
    painter.drawImage((width() - image.width()) / 2, (height() - image.height()) / 2, image);
}

void SlideShow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_N: next(); break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_Backspace:
    case Qt::Key_P: previous(); break;
    case Qt::Key_Home: go(first_); break;
    case Qt::Key_End: go(last_); break;
    default: QWidget::keyPressEvent(event);  // Esc goes on to the window
    }
}

void SlideShow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) next();
    else if (event->button() == Qt::RightButton) previous();
}

DocumentWindow::DocumentWindow(const std::string& pdfPath, int first, int last, bool slideShow,
                               const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
    if (document_.load(QString::fromStdString(pdfPath)) != QPdfDocument::Error::None || document_.pageCount() <= 0)
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "\"" + pdfPath + "\" cannot be shown: it is not a PDF that can be read.");
    const int pages = document_.pageCount();
    last = std::clamp(last, 1, pages);
    first = std::clamp(first, 1, last);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (slideShow) {
        show_ = new SlideShow(document_, first, last, this);
        layout->addWidget(show_);
        show_->setFocus();
    } else {
        auto* scroll = new PageScroll(this);
        scroll_ = scroll;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setBackgroundRole(QPalette::Dark);
        scroll->setAlignment(Qt::AlignHCenter);
        strip_ = new PageStrip(document_, first, last);
        scroll->setWidget(strip_);
        scroll->setFocusPolicy(Qt::StrongFocus);
        layout->addWidget(scroll);
        scroll->setFocus();
    }
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The room beside a vertical scroll bar, so that it never brings a
    // horizontal one with it.
    if (strip_) strip_->fitWidth(scroll_->width() - scroll_->verticalScrollBar()->sizeHint().width());
}

void DocumentWindow::keyPressEvent(QKeyEvent* event) {
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc rejects
}

void ShowDocumentFullScreen(const std::string& pdfPath, int first, int last, bool slideShow, const std::string& title) {
    DocumentWindow window(pdfPath, first, last, slideShow, title);
    // Modal before it is shown: a window already shown when exec() starts is
    // not made modal, and the menu's own modality would then block it.
    window.setWindowModality(Qt::ApplicationModal);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->geometry());
    window.setWindowState(window.windowState() | Qt::WindowFullScreen);
    window.exec();
}

}  // namespace app
