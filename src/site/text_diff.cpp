#include "site/text_diff.h"

#include <algorithm>
#include <unordered_map>

namespace {

// Beyond this many differing lines the middle is taken as one changed block:
// a page rewritten that much gains nothing from a finer diff.
constexpr int MAX_EDIT_DISTANCE = 1000;

// The lines of a text, each with its line break.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t nl = text.find('\n', start);
        const size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A run of changed lines: old lines [oldBegin, oldEnd) became new lines
// [newBegin, newEnd).
struct Block {
    size_t oldBegin, oldEnd, newBegin, newEnd;
};

// Myers' greedy diff of a and b (line ids); appends the changed blocks, with
// indexes offset by aBase and bBase. Returns false when the two differ in more
// than MAX_EDIT_DISTANCE lines.
bool MyersBlocks(const std::vector<int>& a, const std::vector<int>& b, size_t aBase, size_t bBase,
                 std::vector<Block>& blocks) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int max = std::min(n + m, MAX_EDIT_DISTANCE);
    std::vector<int> v(2 * static_cast<size_t>(max) + 3, 0);
    const int offset = max + 1;
    // trace[d]: v[-(d-1) .. d-1] as it was before step d.
    std::vector<std::vector<int>> trace;
    int found = -1;
    for (int d = 0; d <= max && found < 0; ++d) {
        trace.emplace_back(v.begin() + offset - std::max(d - 1, 0),
                           v.begin() + offset + std::max(d - 1, 0) + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                        ? v[offset + k + 1]
                        : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0)
        return false;
    // Back from the end, one edit per step; edits come out last first.
    struct Edit {
        bool insert;
        int index; // the old line deleted, or the new line inserted
    };
    std::vector<Edit> edits;
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& prev = trace[d];
        const auto at = [&](int k) { return prev[static_cast<size_t>(k + d - 1)]; };
        const int k = x - y;
        const int prevK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const int prevX = at(prevK);
        const int prevY = prevX - prevK;
        while (x > prevX && y > prevY) {
            --x;
            --y;
        }
        if (x == prevX)
            edits.push_back({true, prevY});
        else
            edits.push_back({false, prevX});
        x = prevX;
        y = prevY;
    }
    std::reverse(edits.begin(), edits.end());
    // Group the edits into blocks of adjacent changes.
    x = 0;
    y = 0;
    for (size_t i = 0; i < edits.size();) {
        // The lines up to the edit are common to both.
        const int skip = edits[i].insert ? edits[i].index - y : edits[i].index - x;
        x += skip;
        y += skip;
        Block block{aBase + x, aBase + x, bBase + y, bBase + y};
        while (i < edits.size() && ((edits[i].insert && edits[i].index == y) ||
                                    (!edits[i].insert && edits[i].index == x))) {
            if (edits[i].insert)
                ++y;
            else
                ++x;
            ++i;
        }
        block.oldEnd = aBase + x;
        block.newEnd = bBase + y;
        blocks.push_back(block);
    }
    return true;
}

// The changed blocks between two texts split into lines.
std::vector<Block> DiffLines(const std::vector<std::string_view>& a,
                             const std::vector<std::string_view>& b) {
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const size_t aEnd = a.size() - tail;
    const size_t bEnd = b.size() - tail;
    std::vector<Block> blocks;
    if (head == aEnd && head == bEnd)
        return blocks;
    // Lines as numbers, equal lines equal numbers.
    std::unordered_map<std::string_view, int> ids;
    const auto number = [&](size_t begin, size_t end, const std::vector<std::string_view>& lines) {
        std::vector<int> out;
        out.reserve(end - begin);
        for (size_t i = begin; i < end; ++i)
            out.push_back(ids.emplace(lines[i], static_cast<int>(ids.size())).first->second);
        return out;
    };
    const std::vector<int> aIds = number(head, aEnd, a);
    const std::vector<int> bIds = number(head, bEnd, b);
    if (!MyersBlocks(aIds, bIds, head, head, blocks)) {
        blocks.clear();
        blocks.push_back({head, aEnd, head, bEnd});
    }
    return blocks;
}

// Byte offset of each line start, and the text size at the end.
std::vector<size_t> LineOffsets(const std::vector<std::string_view>& lines, std::string_view text) {
    std::vector<size_t> offsets;
    offsets.reserve(lines.size() + 1);
    for (std::string_view line : lines)
        offsets.push_back(static_cast<size_t>(line.data() - text.data()));
    offsets.push_back(text.size());
    return offsets;
}

void AppendNumber(std::string& out, size_t start, size_t count) {
    // Lines count from 1; an empty range names the line before it.
    out += std::to_string(count == 0 ? start : start + 1);
    if (count != 1)
        out += "," + std::to_string(count);
}

void AppendLine(std::string& out, char mark, std::string_view line) {
    out += mark;
    out.append(line);
    if (!line.ends_with('\n'))
        out += "\n\\ No newline at end of file\n";
}

} // namespace

std::vector<CByteRange> ChangedRanges(std::string_view oldText, std::string_view newText) {
    // The common beginning and end first: most of a page.
    size_t head = 0;
    const size_t shorter = std::min(oldText.size(), newText.size());
    while (head < shorter && oldText[head] == newText[head])
        ++head;
    // Back to a line start, so that the line comparison sees whole lines.
    while (head > 0 && oldText[head - 1] != '\n')
        --head;
    size_t tail = 0;
    while (tail < shorter - head &&
           oldText[oldText.size() - 1 - tail] == newText[newText.size() - 1 - tail])
        ++tail;
    const std::string_view oldMid = oldText.substr(head, oldText.size() - tail - head);
    const std::string_view newMid = newText.substr(head, newText.size() - tail - head);
    std::vector<CByteRange> ranges;
    if (oldMid == newMid)
        return ranges;
    const std::vector<std::string_view> a = SplitLines(oldMid);
    const std::vector<std::string_view> b = SplitLines(newMid);
    const std::vector<size_t> aAt = LineOffsets(a, oldMid);
    const std::vector<size_t> bAt = LineOffsets(b, newMid);
    for (const Block& block : DiffLines(a, b)) {
        std::string_view o =
            oldMid.substr(aAt[block.oldBegin], aAt[block.oldEnd] - aAt[block.oldBegin]);
        std::string_view w =
            newMid.substr(bAt[block.newBegin], bAt[block.newEnd] - bAt[block.newBegin]);
        size_t offset = head + bAt[block.newBegin];
        // Only the bytes that differ within the block.
        size_t same = 0;
        while (same < o.size() && same < w.size() && o[same] == w[same])
            ++same;
        o.remove_prefix(same);
        w.remove_prefix(same);
        offset += same;
        size_t end = 0;
        while (end < o.size() && end < w.size() && o[o.size() - 1 - end] == w[w.size() - 1 - end])
            ++end;
        o.remove_suffix(end);
        w.remove_suffix(end);
        ranges.push_back({offset, w.size(), std::string(o)});
    }
    return ranges;
}

bool RestoreRanges(std::string_view newText, const std::vector<CByteRange>& ranges,
                   std::string& oldText) {
    std::string out;
    size_t at = 0;
    for (const CByteRange& range : ranges) {
        if (range.newOffset < at || range.newOffset > newText.size() ||
            range.newLength > newText.size() - range.newOffset)
            return false;
        out.append(newText.substr(at, range.newOffset - at));
        out += range.oldBytes;
        at = range.newOffset + range.newLength;
    }
    out.append(newText.substr(at));
    oldText = std::move(out);
    return true;
}

std::string DiffPath(std::string_view path, std::string_view cwd) {
    // The absolute path, with its parts resolved as written.
    std::vector<std::string_view> parts;
    const auto addParts = [&](std::string_view text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('/', start);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view part = text.substr(start, end - start);
            if (part == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            start = end + 1;
        }
    };
    if (!path.starts_with('/'))
        addParts(cwd);
    addParts(path);
    // Inside cwd when every part of cwd leads the path.
    std::vector<std::string_view> cwdParts;
    parts.swap(cwdParts);
    addParts(cwd);
    parts.swap(cwdParts);
    const bool inside = parts.size() > cwdParts.size() &&
                        std::equal(cwdParts.begin(), cwdParts.end(), parts.begin());
    std::string out;
    for (size_t i = inside ? cwdParts.size() : 0; i < parts.size(); ++i) {
        if (!out.empty())
            out += '/';
        out += parts[i];
    }
    return out;
}

std::string DiffFileName(std::string_view prefix, std::string_view path) {
    const std::string name = std::string(prefix) + std::string(path);
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u > 0x20 && u < 0x7F && c != '"' && c != '\\';
    });
    if (plain)
        return name;
    std::string out = "\"";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (u < 0x20 || u >= 0x7F) {
                const char octal[] = {'\\', static_cast<char>('0' + (u >> 6)),
                                      static_cast<char>('0' + ((u >> 3) & 7)),
                                      static_cast<char>('0' + (u & 7)), 0};
                out += octal;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string UnifiedDiff(std::string_view oldText, std::string_view newText,
                        std::string_view oldName, std::string_view newName, int context) {
    if (oldText == newText)
        return {};
    const std::vector<std::string_view> a = SplitLines(oldText);
    const std::vector<std::string_view> b = SplitLines(newText);
    const std::vector<Block> blocks = DiffLines(a, b);
    std::string out = "--- " + std::string(oldName) + "\n+++ " + std::string(newName) + "\n";
    const size_t ctx = static_cast<size_t>(std::max(context, 0));
    for (size_t i = 0; i < blocks.size();) {
        // Blocks closer than two contexts share a hunk.
        size_t j = i;
        while (j + 1 < blocks.size() && blocks[j + 1].oldBegin - blocks[j].oldEnd <= 2 * ctx)
            ++j;
        const size_t oldStart = blocks[i].oldBegin - std::min(ctx, blocks[i].oldBegin);
        const size_t newStart = blocks[i].newBegin - (blocks[i].oldBegin - oldStart);
        const size_t after = std::min(ctx, a.size() - blocks[j].oldEnd);
        const size_t oldStop = blocks[j].oldEnd + after;
        const size_t newStop = blocks[j].newEnd + after;
        out += "@@ -";
        AppendNumber(out, oldStart, oldStop - oldStart);
        out += " +";
        AppendNumber(out, newStart, newStop - newStart);
        out += " @@\n";
        size_t x = oldStart;
        for (size_t k = i; k <= j; ++k) {
            for (; x < blocks[k].oldBegin; ++x)
                AppendLine(out, ' ', a[x]);
            for (size_t r = blocks[k].oldBegin; r < blocks[k].oldEnd; ++r)
                AppendLine(out, '-', a[r]);
            for (size_t r = blocks[k].newBegin; r < blocks[k].newEnd; ++r)
                AppendLine(out, '+', b[r]);
            x = blocks[k].oldEnd;
        }
        for (; x < oldStop; ++x)
            AppendLine(out, ' ', a[x]);
        i = j + 1;
    }
    return out;
}
