// Reading the fields of one BIFF record and of the CONTINUE records that carry its overflow.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/workbook/xls/TextDecoding.h"

namespace tabulon::workbook::xls {

// Every read is bounded by the data present and throws BiffDamage past its end.
class RecordCursor {
  public:
    explicit RecordCursor(std::span<const unsigned char> data) : segments_{data} {}
    // Appends the data of a CONTINUE record that follows the record.
    void addContinuation(std::span<const unsigned char> data) { segments_.push_back(data); }

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    void skip(std::size_t bytes);
    bool atEnd();

    // What a string does that runs past the end of its record and continuations: Damage throws
    // BiffDamage (where the strings that follow would be read out of step), Cut ends the string
    // there, as the spreadsheet application reads a lone string that claims more than it holds.
    enum class Shortfall { Damage, Cut };

    // The rest of a BIFF8 string after its character count: the flags byte, then the characters
    // (8-bit Latin-1 or UTF-16); rich-text runs and phonetic data are skipped. Where the
    // characters go on in a CONTINUE record, that record starts with a fresh flags byte.
    std::string unicodeString(std::size_t charCount, Shortfall shortfall = Shortfall::Damage);
    // count bytes of 8-bit text in the code page (the strings before BIFF8).
    std::string byteString(std::size_t count, const CodePage& codePage,
                           Shortfall shortfall = Shortfall::Damage);

  private:
    void read(void* out, std::size_t bytes);
    std::size_t leftInSegment() const { return segments_[segment_].size() - offset_; }
    // Moves to the next segment when the current one is used up; false at the very end.
    bool settle();
    // The bytes left in the record and its continuations.
    std::size_t left() const;

    std::vector<std::span<const unsigned char>> segments_;
    std::size_t segment_ = 0;
    std::size_t offset_ = 0;
};

}  // namespace tabulon::workbook::xls
