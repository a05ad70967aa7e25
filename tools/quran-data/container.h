#pragma once
// Writer of the add-in's data files (Arabic.dabrel, UnicodeArabic.dbu, <Language>.dabrel).
//
// Layout (offsets 0-based from the start of the file):
//   bytes 0-1   entry count, 16-bit little-endian, at most 7
//   per entry   1 byte L (= 6 + length of the name), block offset (3 bytes, big-endian, 0-based
//               file offset), block length (3 bytes, big-endian), L - 6 bytes of name
//   blocks      back to back after the directory, in entry order
//   trailer     translations only: the last 8 bytes, direction letter, 4 locale digits, marker
//
// Entries are addressed by position. Items (words, verses, notes) lie back to back in a block;
// their index holds one position per item plus a closing one: P(k) is the place of item k's
// first byte counting the block's first byte as 1, so item k is P(k+1) - P(k) bytes long.
// Index positions are 3-byte big-endian, except in UnicodeArabic.dbu where they are 4-byte
// little-endian. A verse (or note) is a sequence of 2-byte big-endian word identifiers, counted
// from 1 in the order of the word index.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quran_data {

enum class IndexWidth { BigEndian24, LittleEndian32 };

void put_le16(std::string& out, std::uint32_t v);
void put_be16(std::string& out, std::uint32_t v);
// Throws DataError when v does not fit in three bytes.
void put_be24(std::string& out, std::uint32_t v);
void put_le32(std::string& out, std::uint32_t v);

// Items back to back with their positions (P(1) = 1, one closing position).
class IndexedItems {
public:
    void add(std::string_view item);
    std::size_t count() const { return positions_.size() - 1; }
    const std::string& block() const { return block_; }
    std::string index(IndexWidth width) const;

private:
    std::string block_;
    std::vector<std::uint32_t> positions_{1};
};

// The vocabulary of a file: every distinct word once, identifiers from 1 in order of first use.
class WordTable {
public:
    // max_id: the highest identifier the file's readers accept.
    explicit WordTable(std::uint32_t max_id) : max_id_(max_id) {}
    // Throws DataError when a new word would exceed max_id.
    std::uint32_t id_of(const std::string& word);
    std::size_t size() const { return words_.count(); }
    const IndexedItems& words() const { return words_; }

private:
    std::uint32_t max_id_;
    std::unordered_map<std::string, std::uint32_t> ids_;
    IndexedItems words_;
};

// A verse or note item: the identifiers as 2-byte big-endian numbers.
std::string word_sequence(const std::vector<std::uint32_t>& ids);

struct Entry {
    std::string name;
    std::string block;
};

// The whole file. Throws DataError for more than 7 entries or a file too large for 3-byte
// offsets. The trailer (possibly empty) follows the last block.
std::string write_container(const std::vector<Entry>& entries, std::string_view trailer = {});

}  // namespace quran_data
