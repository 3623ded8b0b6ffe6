// Keyword suggestion: the word statistics of a page's visible text, the offer
// of its most frequent words, and the keywords value built from the choice.
//
// Texts are bytes. Valid UTF-8 is lower-cased as Unicode and counted in
// characters; bytes that are not valid UTF-8 stay as they are and count one
// character each.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The distinct words of a text in order of first appearance, with how often
// each occurred.
class CKeywordStatistics {
public:
    // Counts the words of bodyText (the page's GetBodyText): separators and
    // punctuation split words; each word is lower-cased and trimmed; words of
    // fewer than 3 characters and those listed in commonWords (as built by
    // BuildCommonWords) are skipped.
    void AddText(std::string_view bodyText, std::string_view commonWords);

    size_t GetSize() const { return m_order.size(); }
    const std::string& GetWordAt(size_t index) const { return *m_order[index]; }
    size_t GetCountAt(size_t index) const { return m_counts[index]; }
    // How often word (already lower-case) was counted; 0 when never.
    size_t GetCount(const std::string& word) const;

    // The offered words, each followed by one space: every word counted 3
    // times or more; then, when fewer than 8 were taken, every word counted
    // twice; then, when still fewer than 8, every word counted once. Each group
    // is taken whole, in order of first appearance.
    std::string BuildOffer() const;

private:
    void AddWord(std::string word);

    // Word -> index into m_order and m_counts. The map's keys are the words;
    // m_order points at them, which stays valid as the map grows.
    std::unordered_map<std::string, size_t> m_index;
    std::vector<const std::string*> m_order;
    std::vector<size_t> m_counts;
};

// The word lower-cased (Unicode for valid UTF-8, ASCII for other bytes) and
// trimmed of ASCII white space at both ends.
std::string NormalizeKeyword(std::string_view word);

// The offer of keywords for bodyText: CKeywordStatistics::BuildOffer.
std::string ProposeKeywords(std::string_view bodyText, std::string_view commonWords);

// The entries of the keyword list for an offer: its space-separated words
// (empty pieces skipped) in alphabetical order.
std::vector<std::string> KeywordListEntries(std::string_view offer);

// The chosen entries, in list order, joined by single spaces.
std::string JoinChosenKeywords(const std::vector<std::string>& chosen);

// The keywords field's new value: the chosen words alone, or with append not
// 0 after the current value (trimmed at its start only) and one space.
std::string KeywordsFieldValue(std::string_view currentValue, int append, std::string_view chosen);
