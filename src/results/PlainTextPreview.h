// A read-only view of a long text that lays out only what it shows, so that opening a result
// of millions of lines, or of one line of millions of characters, never stalls the window. A
// text in a mapped file is read only where it is shown, and its lines are counted a slice at a
// time between window events, so that even a result of gigabytes opens at once.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class MappedFile;

class PlainTextPreview : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit PlainTextPreview(QWidget* parent = nullptr);

    void setText(std::string text);
    void setText(std::shared_ptr<const MappedFile> file);
    std::string_view text() const { return text_; }
    // The lines counted so far: all of them once the whole text has been looked through.
    int lineCount() const { return static_cast<int>(std::min<std::int64_t>(lineCount_, 1 << 30)); }
    bool fullyIndexed() const { return indexed_ == text_.size(); }
    // The text of one line (0-based) without its line end.
    QString line(int index) const;
    // The characters first .. first + count - 1 of a line (fewer at its end).
    QString lineSlice(int index, std::size_t first, std::size_t count) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void startIndexing();
    void indexSlice();
    // The bytes of a line without its line end; of a longer line only the first `limit` bytes.
    std::string_view lineBytes(int index, std::size_t limit = std::string_view::npos) const;
    void updateScrollBars();
    int lineHeight() const;
    int charWidth() const;

    std::string owned_;
    std::shared_ptr<const MappedFile> mapped_;
    std::string_view text_;
    // The start of every 64th line; the lines between are found from there.
    std::vector<std::size_t> checkpoints_;
    std::int64_t lineCount_ = 1;
    std::size_t indexed_ = 0;      // bytes looked through so far
    std::size_t lineStart_ = 0;    // start of the line that the looking-through is in
    std::size_t longestLine_ = 0;  // in bytes, an upper bound of its characters
    QTimer indexTimer_;
};

}  // namespace tabulon
