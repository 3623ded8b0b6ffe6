#include "suggestions/keyword_suggestion.h"

#include <QCollator>
#include <QString>
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "page/ascii_text.h"
#include "page/utf8.h"
#include "suggestions/collapse_separators.h"

namespace {

// Shorter words say nothing about a page.
constexpr size_t kMinWordLength = 3;
// Rarer words are offered only while fewer than this many were taken.
constexpr size_t kEnoughWords = 8;

// Characters in s: a valid UTF-8 sequence counts one, as does any other byte.
size_t CharacterCount(std::string_view s) {
    size_t count = 0;
    for (size_t i = 0; i < s.size(); ++count) {
        const size_t len = Utf8SequenceLength(s, i);
        i += len ? len : 1;
    }
    return count;
}

// The words of a common-words string: its pieces between single spaces.
// " " + word + " " occurs in the string exactly when word (which holds no
// space) is one of them.
std::unordered_set<std::string_view> CommonWordSet(std::string_view commonWords) {
    std::unordered_set<std::string_view> set;
    size_t pos = 0;
    while (pos < commonWords.size()) {
        size_t end = commonWords.find(' ', pos);
        if (end == std::string_view::npos)
            end = commonWords.size();
        if (end > pos)
            set.insert(commonWords.substr(pos, end - pos));
        pos = end + 1;
    }
    return set;
}

} // namespace

std::string NormalizeKeyword(std::string_view word) {
    word = TrimAscii(word);
    std::string out;
    out.reserve(word.size());
    for (size_t i = 0; i < word.size();) {
        const char c = word[i];
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
            ++i;
            continue;
        }
        // A run of valid non-ASCII sequences is lowered as Unicode in one go.
        const size_t start = i;
        for (size_t len; i < word.size() && (len = Utf8SequenceLength(word, i)) > 1;)
            i += len;
        if (i > start) {
            const QString run =
                QString::fromUtf8(word.data() + start, static_cast<qsizetype>(i - start));
            out += run.toLower().toStdString();
            continue;
        }
        out += c; // ASCII other than capitals, or a byte that is not UTF-8
        ++i;
    }
    return out;
}

size_t CKeywordStatistics::GetCount(const std::string& word) const {
    const auto it = m_index.find(word);
    return it == m_index.end() ? 0 : m_counts[it->second];
}

void CKeywordStatistics::AddWord(std::string word) {
    const auto [it, inserted] = m_index.try_emplace(std::move(word), m_order.size());
    if (inserted) {
        m_order.push_back(&it->first);
        m_counts.push_back(1);
    } else {
        ++m_counts[it->second];
    }
}

void CKeywordStatistics::AddText(std::string_view bodyText, std::string_view commonWords) {
    const std::string text = CollapseSeparators(bodyText, 1);
    const std::unordered_set<std::string_view> common = CommonWordSet(commonWords);
    const std::string_view all(text);
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find(' ', pos);
        if (end == std::string_view::npos)
            end = all.size();
        std::string word = NormalizeKeyword(all.substr(pos, end - pos));
        pos = end + 1;
        if (CharacterCount(word) < kMinWordLength || common.count(word))
            continue;
        AddWord(std::move(word));
    }
}

std::string CKeywordStatistics::BuildOffer() const {
    std::string offer;
    size_t taken = 0;
    const auto takeWhere = [&](auto wanted) {
        for (size_t i = 0; i < m_order.size(); ++i) {
            if (wanted(m_counts[i])) {
                offer += *m_order[i];
                offer += ' ';
                ++taken;
            }
        }
    };
    takeWhere([](size_t n) { return n >= 3; });
    if (taken < kEnoughWords)
        takeWhere([](size_t n) { return n == 2; });
    if (taken < kEnoughWords)
        takeWhere([](size_t n) { return n == 1; });
    return offer;
}

std::string ProposeKeywords(std::string_view bodyText, std::string_view commonWords) {
    CKeywordStatistics statistics;
    statistics.AddText(bodyText, commonWords);
    return statistics.BuildOffer();
}

std::vector<std::string> KeywordListEntries(std::string_view offer) {
    std::vector<std::pair<QString, std::string>> entries;
    size_t start = 0;
    while (start < offer.size()) {
        size_t end = offer.find(' ', start);
        if (end == std::string_view::npos)
            end = offer.size();
        if (end > start) {
            const std::string_view entry = offer.substr(start, end - start);
            entries.emplace_back(
                QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())),
                std::string(entry));
        }
        start = end + 1;
    }
    // Bytes decide where the collation sees no difference, so the order is total.
    const QCollator collator;
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
        const int c = collator.compare(a.first, b.first);
        return c != 0 ? c < 0 : a.second < b.second;
    });
    std::vector<std::string> result;
    result.reserve(entries.size());
    for (auto& entry : entries)
        result.push_back(std::move(entry.second));
    return result;
}

std::string JoinChosenKeywords(const std::vector<std::string>& chosen) {
    std::string joined;
    for (const std::string& word : chosen) {
        joined += word;
        joined += ' ';
    }
    joined.resize(TrimRightAscii(joined).size());
    return joined;
}

std::string KeywordsFieldValue(std::string_view currentValue, int append, std::string_view chosen) {
    std::string result;
    if (append != 0)
        result = TrimLeftAscii(currentValue);
    if (!result.empty())
        result += ' ';
    result += chosen;
    return result;
}
