// Splitting content.xml into its frame, which expat reads, and the contents of its tables, which
// are only passed over: a table's content ends at the end tag that matches its start tag.
#include "core/workbook/ods/ContentOutline.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "core/workbook/ods/ContentHandler.h"
#include "core/workbook/xml/ChunkedScan.h"
#include "core/workbook/xml/MarkupBytes.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

// content.xml is to be read as a whole: it is not plain UTF-8, or holds a token too long to split.
struct NotSplittable {};

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '-' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view localPart(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

const char* find(const char* p, const char* end, std::string_view what) {
    const std::size_t at = std::string_view(p, end - p).find(what);
    return at == std::string_view::npos ? nullptr : p + at;
}

class OutlineScan {
  public:
    OutlineScan(ZipArchive& archive, ContentHandler& handler, xml::XmlStream& frame,
                ContentOutline& outline, OdsStyles& styles, FirstTablePlaced* first)
        : archive_(archive),
          handler_(handler),
          frame_(frame),
          places_(outline.places),
          tables_(outline.tables),
          styles_(styles),
          first_(first) {}

    // The styles and date system were complete when the first table began.
    bool settled() const {
        return places_.empty() || (definitionsAtFirst_ == styles_.definitionCount() &&
                                   date1904AtFirst_ == handler_.date1904());
    }

    bool reachedEnd() const { return false; }
    bool inTable() const { return inTable_; }

    const char* scan(const char* begin, const char* end) {
        begin_ = begin;
        frameFrom_ = inTable_ ? nullptr : begin;
        const char* stop = scanTokens(begin, end);
        if (frameFrom_ != nullptr) feed(frameFrom_, stop);
        offset_ += static_cast<std::uint64_t>(stop - begin);
        return stop;
    }

    // The frame's last bytes, after content.xml's last chunk: what was carried, if anything.
    void finish(std::string_view carried) {
        if (inTable_) return;  // content.xml ends inside a table, which says so when it is read
        feed(carried.data(), carried.data() + carried.size());
        if (!frame_.feed(nullptr, 0, true)) throw NotSplittable{};
    }
    std::uint64_t offset() const { return offset_; }

  private:
    std::uint64_t at(const char* p) const {
        return offset_ + static_cast<std::uint64_t>(p - begin_);
    }

    // Damage in the frame fails the workbook: content.xml is read again as a whole, which finds
    // the first damage in it, with its line.
    void feed(const char* from, const char* to) {
        if (to > from && !frame_.feed(from, static_cast<std::size_t>(to - from)))
            throw NotSplittable{};
    }

    // The end of the tag whose name ends at p: after its '>', with selfClosing set; nullptr when
    // it does not end in the bytes, or end when it holds a '<' (malformed, for expat to judge).
    static const char* tagEnd(const char* p, const char* end, bool& selfClosing) {
        char quote = 0;
        for (; p < end; ++p) {
            if (quote != 0) {
                if (*p == quote) quote = 0;
            } else if (*p == '"' || *p == '\'') {
                quote = *p;
            } else if (*p == '>') {
                selfClosing = p[-1] == '/';
                return p + 1;
            }
            if (*p == '<') return end;
        }
        return nullptr;
    }

    const char* scanTokens(const char* p, const char* end) {
        while (p < end) {
            const char* lt = inTable_ ? nextInTable(p, end) : xml::findByte(p, end, '<');
            if (lt == end) return end;
            const char* next = token(lt, end);
            if (next == nullptr) return lt;
            p = next;
        }
        return p;
    }

    // Inside a table: the first '<' from p on that token() has to see, or the end of the bytes.
    // Only markup that begins with '!' or '?' and tags that may have the table's own name count;
    // the tags of the table's rows, cells and paragraphs are passed over here in one loop.
    const char* nextInTable(const char* p, const char* end) const {
        const std::size_t length = tableName_.size();
        for (;;) {
            const char* lt = xml::findByte(p, end, '<');
            // Too near the end to tell: token() decides, or waits for more bytes.
            if (static_cast<std::size_t>(end - lt) <= length + 2) return lt;
            const char* name = lt + (lt[1] == '/' ? 2 : 1);
            const char after = name[length];
            if (lt[1] == '!' || lt[1] == '?' ||
                (xml::sameBytes(name, tableName_) &&
                 (isSpace(after) || after == '>' || after == '/')))
                return lt;
            p = name;
        }
    }

    // Passes over the markup at lt; nullptr when it is not complete in the bytes.
    const char* token(const char* lt, const char* end) {
        const std::size_t left = static_cast<std::size_t>(end - lt);
        if (left < 2) return nullptr;
        if (lt[1] == '!') {
            if (left < 9) return nullptr;
            if (std::memcmp(lt, "<!--", 4) == 0) {
                const char* close = find(lt + 4, end, "-->");
                return close == nullptr ? nullptr : close + 3;
            }
            if (std::memcmp(lt, "<![CDATA[", 9) == 0) {
                const char* close = find(lt + 9, end, "]]>");
                return close == nullptr ? nullptr : close + 3;
            }
            return lt + 2;  // a document type, which expat refuses
        }
        if (lt[1] == '?') {
            const char* close = find(lt + 2, end, "?>");
            return close == nullptr ? nullptr : close + 2;
        }
        const bool endTag = lt[1] == '/';
        const char* nameStart = lt + (endTag ? 2 : 1);
        if (!inTable_) {
            const char* q = nameStart;
            while (q < end && isNameChar(*q)) ++q;
            if (q == end) return nullptr;
            return endTag ? q
                          : frameStartTag(lt, std::string_view(nameStart, q - nameStart), q, end);
        }
        // Inside a table only tags of the table's own name count: nothing else needs a name.
        const std::size_t length = tableName_.size();
        if (static_cast<std::size_t>(end - nameStart) <= length) return nullptr;
        const char* q = nameStart + length;
        if (!xml::sameBytes(nameStart, tableName_) ||
            !(isSpace(*q) || *q == '>' || (!endTag && *q == '/')))
            return nameStart;
        if (endTag) {
            if (nesting_ > 1) {
                --nesting_;
                return q;
            }
            const char* close = q;
            while (close < end && isSpace(*close)) ++close;
            if (close == end) return nullptr;
            nesting_ = 0;
            places_.back().bodyEnd = at(lt);
            places_.back().end = at(*close == '>' ? close + 1 : close);
            places_.back().closed = true;
            placeSplit(places_.back());
            inTable_ = false;
            frameFrom_ = lt;
            if (places_.size() == 1 && first_ != nullptr) first_->firstTableEnded(places_.front());
            return q;
        }
        bool selfClosing = false;
        const char* after = tagEnd(q, end, selfClosing);
        if (after == nullptr) return nullptr;
        if (!selfClosing) ++nesting_;
        return after;
    }

    // A start tag in the frame: a table's content is passed over from here.
    const char* frameStartTag(const char* lt, std::string_view name, const char* q,
                              const char* end) {
        if (localPart(name) != "table") return q;
        feed(frameFrom_, lt);
        frameFrom_ = lt;
        if (!handler_.atTableLevel()) return q;
        // Everything before the first table has been read, the XML declaration with it.
        const std::string& encoding = frame_.declaredEncoding();
        if (!encoding.empty() && !sameIgnoringCase(encoding, "UTF-8")) throw NotSplittable{};
        bool selfClosing = false;
        const char* after = tagEnd(q, end, selfClosing);
        if (after == nullptr) return nullptr;
        if (after == end) return q;  // malformed: expat says so as the frame goes on
        feed(lt, after);
        frameFrom_ = after;
        // Expat has taken the start tag for this table's, else it waits on earlier markup (a
        // stray quote before the root element opens a literal) and the places would not match
        // the tables.
        if (tables_.size() != places_.size() + 1) throw NotSplittable{};
        places_.push_back({at(lt), at(after), at(after), at(after), selfClosing, at(after)});
        if (places_.size() == 1) {
            definitionsAtFirst_ = styles_.definitionCount();
            date1904AtFirst_ = handler_.date1904();
            if (first_ != nullptr) {
                first_->firstTableBegun(tables_.front(), places_.front(), date1904AtFirst_);
                if (selfClosing) first_->firstTableEnded(places_.front());
            }
        }
        if (!selfClosing) {
            inTable_ = true;
            tableName_.assign(name);
            nesting_ = 1;
            frameFrom_ = nullptr;
        }
        return after;
    }

    // The split of a table whose content has ended: the point nearest the middle of its content,
    // when one lies within an eighth of the content from there; for a first table read
    // meanwhile, of the content that is left to read. Of the points kept since the last table's
    // end, those that the table's reading and the next table's start from stay; the others are
    // let go of.
    void placeSplit(TablePlace& table) {
        std::uint64_t from = table.bodyStart;
        if (places_.size() == 1 && first_ != nullptr)
            from = std::clamp(first_->firstTableReadTo(), table.bodyStart, table.bodyEnd);
        const std::uint64_t length = table.bodyEnd - from;
        const std::uint64_t middle = from + length / 2;
        const std::vector<std::uint64_t> points = archive_.pointsKept(kContentPart);
        std::uint64_t nearest = length / 8 + 1;
        table.split = middle;
        for (const std::uint64_t point : points) {
            const std::uint64_t distance = point > middle ? point - middle : middle - point;
            if (point > from && point < table.bodyEnd && distance < nearest) {
                table.split = point;
                nearest = distance;
            }
        }
        std::vector<std::uint64_t> keep;
        for (const std::uint64_t place : {table.bodyStart, table.split, table.bodyEnd}) {
            const auto last = std::upper_bound(points.begin(), points.end(), place);
            if (last != points.begin()) keep.push_back(*std::prev(last));
        }
        archive_.letGoOfPoints(kContentPart, thinnedFrom_, table.bodyEnd, keep);
        thinnedFrom_ = table.bodyEnd;
    }

    ZipArchive& archive_;
    ContentHandler& handler_;
    xml::XmlStream& frame_;
    std::vector<TablePlace>& places_;
    const std::vector<WorksheetEntry>& tables_;
    OdsStyles& styles_;
    FirstTablePlaced* first_;
    std::size_t definitionsAtFirst_ = 0;
    bool date1904AtFirst_ = false;
    std::uint64_t offset_ = 0;         // of the first byte of this scan's range
    std::uint64_t thinnedFrom_ = 0;    // the points before here are those kept for tables
    const char* begin_ = nullptr;      // of this scan's range
    const char* frameFrom_ = nullptr;  // frame bytes of this range not yet given to expat
    bool inTable_ = false;
    std::string tableName_;  // the qualified name of the table passed over
    int nesting_ = 0;        // its elements of that name still open
};

ContentOutline splitContent(ZipArchive& archive, OdsStyles& styles, FirstTablePlaced* first) {
    ContentOutline outline;
    ContentHandler handler(styles, outline.tables);
    xml::XmlStream frame(handler);
    OutlineScan scan(archive, handler, frame, outline, styles, first);
    xml::ChunkedScan<OutlineScan> chunks(scan);
    // The outline is made as each chunk is inflated: on this thread when the first table is read
    // meanwhile, which keeps the other core busy (a thread inflating ahead would hold 2 MB more
    // while that table is read, and gain nothing), ahead of it otherwise.
    const auto stream = archive.stream(
        kContentPart, 0,
        first != nullptr ? ZipArchive::Inflating::OnCaller : ZipArchive::Inflating::Ahead);
    bool firstChunk = true;
    for (std::string_view chunk = stream->next(); !chunk.empty(); chunk = stream->next()) {
        // UTF-16 text (by its byte order mark or its zero bytes) is not split.
        if (firstChunk && (chunk[0] == 0 || chunk[0] == '\xFE' || chunk[0] == '\xFF' ||
                           (chunk.size() > 1 && chunk[1] == 0)))
            throw NotSplittable{};
        firstChunk = false;
        try {
            chunks.feed(chunk);
        } catch (const xml::TokenTooLong&) {
            throw NotSplittable{};
        }
    }
    chunks.finish();
    // What is still carried is an incomplete token at content.xml's end.
    std::string carried;
    if (chunks.carrying()) carried = chunks.carried();
    if (scan.inTable()) {
        TablePlace& last = outline.places.back();
        last.bodyEnd = last.end = scan.offset() + carried.size();
        last.split = last.bodyStart + (last.bodyEnd - last.bodyStart) / 2;
    }
    scan.finish(carried);
    // Each table has its place, and no table was read as part of the frame.
    if (outline.places.size() != outline.tables.size()) throw NotSplittable{};
    outline.date1904 = handler.date1904();
    outline.settledBeforeFirstTable = scan.settled();
    return outline;
}

}  // namespace

ContentOutline readContentOutline(ZipArchive& archive, OdsStyles& styles, FirstTablePlaced* first) {
    const OdsStyles partStyles = styles;  // of styles.xml, for a second reading
    try {
        return splitContent(archive, styles, first);
    } catch (const NotSplittable&) {
    }
    // content.xml read as a whole: its tables are found as it goes.
    styles = partStyles;
    ContentOutline outline;
    ContentHandler handler(styles, outline.tables);
    try {
        xml::parseXmlPart(archive, kContentPart, handler);
    } catch (const ReadError& e) {
        // XML that breaks inside a table names that table's sheet, as the other readers do.
        if (!e.place().sheet.empty() || !handler.insideTable()) throw;
        throw e.placedIn({}, outline.tables.back().name);
    }
    outline.date1904 = handler.date1904();
    return outline;
}

}  // namespace tabulon::workbook::ods
