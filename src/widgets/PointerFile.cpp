// Loads a pointer image (.cur or .ico) from a file into a cursor.
#include "widgets/PointerFile.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace tabulon {
namespace {

constexpr int kCursorType = 2;

// The hot spot of the first image of a .cur file: its directory entry stores it where an icon
// stores planes and bit count.
std::optional<QPoint> cursorHotSpot(const QByteArray& head) {
    if (head.size() < 6 + 16) return std::nullopt;
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    if (qFromLittleEndian<quint16>(bytes + 2) != kCursorType) return std::nullopt;
    return QPoint(qFromLittleEndian<quint16>(bytes + 10), qFromLittleEndian<quint16>(bytes + 12));
}

}  // namespace

std::optional<QCursor> loadPointerFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray head = file.peek(6 + 16);
    QImageReader reader(&file);
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    const QPoint hot = cursorHotSpot(head).value_or(QPoint(image.width() / 2, image.height() / 2));
    return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

}  // namespace tabulon
