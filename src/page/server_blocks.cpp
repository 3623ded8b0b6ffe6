#include "page/server_blocks.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace {

class Depth {
public:
    void Open() { ++m_depth; }
    void Close() {
        --m_depth;
        m_min = std::min(m_min, m_depth);
    }
    ServerBlockEffect Effect() const { return {-m_min, m_depth - m_min}; }

private:
    int m_depth = 0;
    int m_min = 0;
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Lower(c);
    return out;
}

bool IsWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsWordChar(char c) {
    return IsWordStart(c) || (c >= '0' && c <= '9');
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Code with braces: PHP, and ASP pages in C# or JScript.
class BraceCode {
public:
    BraceCode(std::string_view code, bool php) : m_code(code), m_php(php) {}

    void Scan(Depth& depth) {
        const size_t n = m_code.size();
        while (m_i < n) {
            const char c = m_code[m_i];
            const char next = m_i + 1 < n ? m_code[m_i + 1] : '\0';
            if (c == '"' || c == '\'' || (m_php && c == '`')) {
                SkipString(c);
            } else if ((c == '/' && next == '/') || (m_php && c == '#' && next != '[')) {
                const size_t end = m_code.find('\n', m_i);
                m_i = end == std::string_view::npos ? n : end;
            } else if (c == '/' && next == '*') {
                const size_t end = m_code.find("*/", m_i + 2);
                m_i = end == std::string_view::npos ? n : end + 2;
            } else if (c == '{') {
                depth.Open();
                ++m_i;
            } else if (c == '}') {
                depth.Close();
                ++m_i;
            } else if (m_php && IsWordStart(c)) {
                Word(depth);
            } else {
                ++m_i;
            }
        }
    }

private:
    void SkipString(char quote) {
        const size_t n = m_code.size();
        for (++m_i; m_i < n && m_code[m_i] != quote; ++m_i) {
            if (m_code[m_i] == '\\')
                ++m_i;
        }
        m_i = std::min(n, m_i + 1);
    }
    size_t SkipSpace(size_t j) const {
        while (j < m_code.size() && IsSpace(m_code[j]))
            ++j;
        return j;
    }
    // After a "(" at j: one past its ")", or npos.
    size_t MatchingParen(size_t j) {
        int open = 0;
        const size_t n = m_code.size();
        while (j < n) {
            const char c = m_code[j];
            if (c == '"' || c == '\'') {
                m_i = j;
                SkipString(c);
                j = m_i;
                continue;
            }
            if (c == '(')
                ++open;
            else if (c == ')' && --open == 0)
                return j + 1;
            ++j;
        }
        return std::string_view::npos;
    }
    // A PHP keyword of the "if (...): ... endif;" forms.
    void Word(Depth& depth) {
        const size_t begin = m_i;
        while (m_i < m_code.size() && IsWordChar(m_code[m_i]))
            ++m_i;
        // $if and ->if are names, not keywords.
        if (begin > 0 &&
            (m_code[begin - 1] == '$' || m_code[begin - 1] == '>' || m_code[begin - 1] == ':'))
            return;
        const std::string word = Lowered(m_code.substr(begin, m_i - begin));
        if (OneOf(word, {"endif", "endforeach", "endfor", "endwhile", "endswitch", "enddeclare"})) {
            depth.Close();
            return;
        }
        if (word == "else") {
            const size_t j = SkipSpace(m_i);
            if (j < m_code.size() && m_code[j] == ':') {
                depth.Close();
                depth.Open();
                m_i = j + 1;
            }
            return;
        }
        if (!OneOf(word, {"if", "elseif", "foreach", "for", "while", "switch", "declare"}))
            return;
        size_t j = SkipSpace(m_i);
        if (j >= m_code.size() || m_code[j] != '(')
            return;
        const size_t after = MatchingParen(j);
        m_i = j + 1;
        if (after == std::string_view::npos)
            return;
        j = SkipSpace(after);
        if (j < m_code.size() && m_code[j] == ':') {
            if (word == "elseif")
                depth.Close();
            depth.Open();
            m_i = j + 1;
        }
    }

    std::string_view m_code;
    bool m_php;
    size_t m_i = 0;
};

// One VBScript statement, trimmed and in lower case.
void VbStatement(std::string_view statement, Depth& depth) {
    const std::string s = Lowered(statement);
    const auto is = [&](std::string_view word) {
        return s == word ||
               (s.starts_with(word) && s.size() > word.size() && IsSpace(s[word.size()]));
    };
    const bool endsInThen = s.ends_with("then") && (s.size() == 4 || !IsWordChar(s[s.size() - 5]));
    if (is("end")) {
        const std::string_view rest = std::string_view(s).substr(3);
        const size_t word = rest.find_first_not_of(" \t");
        if (word != std::string_view::npos &&
            (rest.substr(word) == "if" || rest.substr(word) == "select"))
            depth.Close();
    } else if (is("elseif")) {
        if (endsInThen) {
            depth.Close();
            depth.Open();
        }
    } else if (is("else")) {
        depth.Close();
        depth.Open();
    } else if (is("if")) {
        // "If x Then y" on one line opens nothing.
        if (endsInThen)
            depth.Open();
    } else if (is("select") || is("for") || is("do") || is("while")) {
        depth.Open();
    } else if (is("next") || is("loop") || is("wend")) {
        depth.Close();
    }
}

// ASP in VBScript: statements end at line breaks and ":", comments at "'".
void ScanVb(std::string_view code, Depth& depth) {
    size_t start = 0;
    bool inString = false;
    const auto flush = [&](size_t end) {
        std::string_view statement = code.substr(start, end - start);
        while (!statement.empty() && IsSpace(statement.front()))
            statement.remove_prefix(1);
        while (!statement.empty() && IsSpace(statement.back()))
            statement.remove_suffix(1);
        if (!statement.empty())
            VbStatement(statement, depth);
    };
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            inString = !inString;
        } else if (inString) {
            continue;
        } else if (c == '\'') {
            flush(i);
            const size_t end = code.find('\n', i);
            if (end == std::string_view::npos)
                return;
            i = end;
            start = i + 1;
        } else if (c == '\n' || c == ':') {
            flush(i);
            start = i + 1;
        }
    }
    flush(code.size());
}

} // namespace

ServerBlockEffect ServerBlockEffectOf(std::string_view block) {
    if (block.size() < 2 || block[0] != '<' || (block[1] != '?' && block[1] != '%'))
        return {};
    const bool php = block[1] == '?';
    std::string_view code = block.substr(2);
    if (code.ends_with(php ? "?>" : "%>"))
        code.remove_suffix(2);
    Depth depth;
    if (php) {
        if (code.starts_with('='))
            return {};
        const std::string head = Lowered(code.substr(0, 3));
        if (head == "xml")
            return {};
        if (head == "php")
            code.remove_prefix(3);
        BraceCode(code, true).Scan(depth);
        return depth.Effect();
    }
    if (code.empty() || code.starts_with('=') || code.starts_with('@') || code.starts_with('#') ||
        code.starts_with(':') || code.starts_with('$') || code.starts_with("--"))
        return {};
    if (code.find_first_of("{}") != std::string_view::npos)
        BraceCode(code, false).Scan(depth);
    else
        ScanVb(code, depth);
    return depth.Effect();
}
