// A read-only view of a long text that lays out only what it shows, so that opening a result
// of millions of lines, or of one line of millions of characters, never stalls the window.
#pragma once

#include <QAbstractScrollArea>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class PlainTextPreview : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit PlainTextPreview(QWidget* parent = nullptr);

    void setText(std::string text);
    const std::string& text() const { return text_; }
    int lineCount() const { return static_cast<int>(lineStarts_.size()); }
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
    std::string_view lineBytes(int index) const;
    void updateScrollBars();
    int lineHeight() const;
    int charWidth() const;

    std::string text_;
    std::vector<std::size_t> lineStarts_;
    std::size_t longestLine_ = 0;  // in bytes, an upper bound of its characters
};

}  // namespace tabulon
