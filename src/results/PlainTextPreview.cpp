// A read-only view of a long text that lays out only what it shows. The font is fixed-pitch, so
// the characters that a scrolled view shows follow from the scroll position alone.
#include "results/PlainTextPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/util/MappedFile.h"

namespace tabulon {
namespace {

constexpr int kMargin = 3;
constexpr double kFontPoints = 9;
// Lines are counted a slice at a time, and the slices of one event pass take at most this long.
constexpr std::size_t kIndexSlice = std::size_t{8} << 20;
constexpr int kIndexMilliseconds = 20;

constexpr std::size_t kCheckpointEvery = 64;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset of character `characters` of a UTF-8 text, or its size when it is shorter.
std::size_t byteOffsetOf(std::string_view text, std::size_t characters) {
    std::size_t offset = 0;
    while (offset < text.size() && characters > 0) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset])) ++offset;
        --characters;
    }
    return offset;
}

}  // namespace

PlainTextPreview::PlainTextPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(kFontPoints);
    fixed.setBold(true);
    setFont(fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    indexTimer_.setInterval(0);
    connect(&indexTimer_, &QTimer::timeout, this, [this] {
        QElapsedTimer spent;
        spent.start();
        do {
            indexSlice();
        } while (!fullyIndexed() && spent.elapsed() < kIndexMilliseconds);
    });
    setText(std::string());
}

void PlainTextPreview::setText(std::string text) {
    mapped_.reset();
    owned_ = std::move(text);
    text_ = owned_;
    startIndexing();
}

void PlainTextPreview::setText(std::shared_ptr<const MappedFile> file) {
    owned_.clear();
    mapped_ = std::move(file);
    text_ = mapped_ ? mapped_->bytes() : std::string_view();
    startIndexing();
}

void PlainTextPreview::startIndexing() {
    checkpoints_.assign(1, 0);
    lineCount_ = 1;
    indexed_ = 0;
    lineStart_ = 0;
    longestLine_ = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    indexTimer_.stop();
    // A text held in memory is counted at once; a mapped one a slice now and the rest later.
    do {
        indexSlice();
    } while (!mapped_ && !fullyIndexed());
    if (!fullyIndexed()) indexTimer_.start();
}

void PlainTextPreview::indexSlice() {
    const char* data = text_.data();
    const std::size_t size = text_.size();
    const std::size_t begin = indexed_;
    const std::size_t end = std::min(size, indexed_ + kIndexSlice);
    while (indexed_ < end) {
        const void* found = std::memchr(data + indexed_, '\n', end - indexed_);
        if (found == nullptr) {
            indexed_ = end;
            break;
        }
        const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        longestLine_ = std::max(longestLine_, lineEnd - lineStart_);
        lineStart_ = lineEnd + 1;
        indexed_ = lineStart_;
        // A text that ends with a line end has no further line after it.
        if (lineStart_ < size) {
            if (lineCount_ % kCheckpointEvery == 0) checkpoints_.push_back(lineStart_);
            ++lineCount_;
        }
    }
    longestLine_ = std::max(longestLine_, indexed_ - lineStart_);
    // Counting read the whole slice; the memory it took is let go, and what is shown is read
    // again when it is drawn.
    if (mapped_) mapped_->release(begin, indexed_ - begin);
    if (fullyIndexed()) indexTimer_.stop();
    updateScrollBars();
    viewport()->update();
}

std::string_view PlainTextPreview::lineBytes(int index, std::size_t limit) const {
    const auto i = static_cast<std::size_t>(index);
    if (index < 0 || static_cast<std::int64_t>(i) >= lineCount_) throw std::out_of_range("line");
    const char* data = text_.data();
    const std::size_t size = text_.size();
    std::size_t start = checkpoints_.at(i / kCheckpointEvery);
    for (std::size_t skip = i % kCheckpointEvery; skip > 0; --skip) {
        start =
            static_cast<std::size_t>(
                static_cast<const char*>(std::memchr(data + start, '\n', size - start)) - data) +
            1;
    }
    const std::size_t window = std::min(size - start, limit);
    const void* found = std::memchr(data + start, '\n', window);
    std::size_t end = found != nullptr
                          ? static_cast<std::size_t>(static_cast<const char*>(found) - data)
                          : start + window;
    if (found != nullptr || end == size) {
        while (end > start && (data[end - 1] == '\r' || data[end - 1] == '\n')) --end;
    }
    return text_.substr(start, end - start);
}

QString PlainTextPreview::line(int index) const {
    const std::string_view bytes = lineBytes(index);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString PlainTextPreview::lineSlice(int index, std::size_t first, std::size_t count) const {
    // A character takes at most four bytes, so only this much of a long line is looked at.
    const std::string_view bytes = lineBytes(index, (first + count) * 4 + 4);
    const std::size_t from = byteOffsetOf(bytes, first);
    const std::string_view rest = bytes.substr(from);
    const std::string_view slice = rest.substr(0, byteOffsetOf(rest, count));
    return QString::fromUtf8(slice.data(), static_cast<qsizetype>(slice.size()));
}

int PlainTextPreview::lineHeight() const { return fontMetrics().lineSpacing(); }

int PlainTextPreview::charWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance('M'));
}

void PlainTextPreview::updateScrollBars() {
    const int visibleLines = std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines));
    verticalScrollBar()->setPageStep(visibleLines);
    verticalScrollBar()->setSingleStep(1);
    // The range counts in characters, so that even a line of millions fits a scroll bar.
    const int visibleChars = std::max(1, (viewport()->width() - 2 * kMargin) / charWidth());
    const auto longest = static_cast<int>(std::min<std::size_t>(longestLine_, 1u << 30));
    horizontalScrollBar()->setRange(0, std::max(0, longest - visibleChars + 1));
    horizontalScrollBar()->setPageStep(visibleChars);
    horizontalScrollBar()->setSingleStep(4);
}

void PlainTextPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PlainTextPreview::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const auto firstChar = static_cast<std::size_t>(horizontalScrollBar()->value());
    const auto shownChars = static_cast<std::size_t>(viewport()->width() / charWidth() + 2);
    int y = kMargin + fontMetrics().ascent();
    for (int i = verticalScrollBar()->value(); i < lineCount() && y - height < viewport()->height();
         ++i, y += height) {
        painter.drawText(kMargin, y, lineSlice(i, firstChar, shownChars));
    }
}

void PlainTextPreview::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QApplication::clipboard()->setText(
            QString::fromUtf8(text_.data(), static_cast<qsizetype>(text_.size())));
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PlainTextPreview::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("Copy All", this, [this] {
        QApplication::clipboard()->setText(
            QString::fromUtf8(text_.data(), static_cast<qsizetype>(text_.size())));
    });
    menu.exec(event->globalPos());
}

}  // namespace tabulon
