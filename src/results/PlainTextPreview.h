// A read-only view of a long text that lays out only the lines it shows, so that opening a
// result of millions of lines never stalls the window.
#pragma once

#include <QAbstractScrollArea>
#include <string>
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

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void updateScrollBars();
    int lineHeight() const;

    std::string text_;
    std::vector<std::size_t> lineStarts_;
    int longestLine_ = 0;  // in bytes; measured once for the horizontal range
    int longestLineWidth_ = 0;
};

}  // namespace tabulon
