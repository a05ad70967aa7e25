#include "tools/quran-data/container.h"

#include "tools/quran-data/error.h"

namespace quran_data {

void put_le16(std::string& out, std::uint32_t v) {
    if (v > 0xFFFF) throw DataError("value " + std::to_string(v) + " does not fit in 16 bits");
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void put_be16(std::string& out, std::uint32_t v) {
    if (v > 0xFFFF) throw DataError("value " + std::to_string(v) + " does not fit in 16 bits");
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
}

void put_be24(std::string& out, std::uint32_t v) {
    if (v > 0xFFFFFF) throw DataError("value " + std::to_string(v) + " does not fit in 3 bytes");
    out.push_back(static_cast<char>(v >> 16));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

void put_le32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void IndexedItems::add(std::string_view item) {
    block_ += item;
    positions_.push_back(static_cast<std::uint32_t>(block_.size() + 1));
}

std::string IndexedItems::index(IndexWidth width) const {
    std::string out;
    out.reserve(positions_.size() * 4);
    for (std::uint32_t p : positions_) {
        if (width == IndexWidth::BigEndian24) put_be24(out, p);
        else put_le32(out, p);
    }
    return out;
}

std::uint32_t WordTable::id_of(const std::string& word) {
    const auto it = ids_.find(word);
    if (it != ids_.end()) return it->second;
    const auto id = static_cast<std::uint32_t>(words_.count() + 1);
    if (id > max_id_) throw DataError("more than " + std::to_string(max_id_) + " distinct words");
    ids_.emplace(word, id);
    words_.add(word);
    return id;
}

std::string word_sequence(const std::vector<std::uint32_t>& ids) {
    std::string out;
    out.reserve(ids.size() * 2);
    for (std::uint32_t id : ids) put_be16(out, id);
    return out;
}

std::string write_container(const std::vector<Entry>& entries, std::string_view trailer) {
    if (entries.size() > 7)
        throw DataError("a data file holds at most 7 entries, not " + std::to_string(entries.size()));
    std::size_t offset = 2;
    for (const auto& e : entries) {
        if (e.name.size() > 255 - 6) throw DataError("entry name too long: " + e.name);
        offset += 7 + e.name.size();
    }
    std::string out;
    put_le16(out, static_cast<std::uint32_t>(entries.size()));
    std::string blocks;
    for (const auto& e : entries) {
        out.push_back(static_cast<char>(6 + e.name.size()));
        try {
            put_be24(out, static_cast<std::uint32_t>(offset + blocks.size()));
            put_be24(out, static_cast<std::uint32_t>(e.block.size()));
        } catch (const DataError&) {
            throw DataError("entry " + e.name + " lies beyond what 3-byte offsets can address");
        }
        out += e.name;
        blocks += e.block;
    }
    out += blocks;
    out += trailer;
    return out;
}

}  // namespace quran_data
