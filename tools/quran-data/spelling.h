#pragma once
// Conversion of the Uthmani (Mushaf) spelling of the source into the common (imla'i) spelling
// that a user types on an Arabic keyboard and that code page 1256 holds, fully vowelled, and the
// search form of it (letters only, single blanks).
//
// The rules work on clusters: one base character (letter, tatweel, small waw/yeh) with the
// combining marks that follow it. Every rule counts how often it fires; the counts are printed
// by the tool and show at a glance when a change of the source or of a rule moves the output.
#include <map>
#include <string>
#include <string_view>

namespace quran_data {

class SpellingConverter {
public:
    // One verse of Uthmani text (surah and verse number decide where the detached letters that
    // open some surahs may stand). Returns the vocalised common spelling, words separated by
    // single blanks.
    std::u32string convert_verse(std::u32string_view text, int surah, int ayah);

    // Rule name -> number of times it fired, over every verse converted so far.
    const std::map<std::string, long>& stats() const { return stats_; }

private:
    friend class Rules;
    std::map<std::string, long> stats_;
};

// The search form of a vocalised line: vowel marks, shadda, sukun, tanween, tatweel and the
// superscript alef removed, blanks collapsed, no blank at either end.
std::u32string search_form(std::u32string_view vocalised);

// Puts a shadda that follows a vowel mark in front of it, the order the source uses.
std::u32string source_order(std::u32string_view text);

// Canonical decomposition (NFD) restricted to what Arabic text needs: the hamza and madda
// letters decomposed and combining marks in canonical order.
std::u32string arabic_nfd(std::u32string_view text);

bool is_combining_mark(char32_t c);

}  // namespace quran_data
