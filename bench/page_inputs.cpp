#include "page_inputs.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "page/page_file.h"

namespace {

// Fixed-seed xorshift, so that a size always gives the same page.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool OneIn(int n) { return Below(n) == 0; }

private:
    uint64_t m_state;
};

constexpr std::string_view kWords[] = {
    "the",  "widget",   "of",    "and",     "catalogue", "price",     "order", "to",
    "a",    "shipping", "in",    "gadget",  "for",       "customer",  "is",    "service",
    "with", "delivery", "on",    "quality", "our",       "product",   "you",   "support",
    "new",  "company",  "by",    "contact", "more",      "page",      "from",  "design",
    "all",  "stock",    "this",  "offer",   "at",        "available", "your",  "range",
    "are",  "models",   "as",    "season",  "we",        "Europe",    "or",    "warranty",
    "it",   "handmade", "be",    "steel",   "has",       "colour",    "each",  "size",
    "über", "café",     "naïve", "garçon",
};

void AppendWords(std::string& out, Random& random, int count) {
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += kWords[random.Below(std::size(kWords))];
    }
}

void AppendNumber(std::string& out, uint64_t n) {
    out += std::to_string(n);
}

const char kTypicalHead[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"\n"
    "  \"http://www.w3.org/TR/html4/loose.dtd\">\n"
    "<HTML lang=\"en\">\n"
    "<HEAD>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "<TITLE>Widgets and Gadgets - Product Catalogue</TITLE>\n"
    "<meta name=\"description\" content=\"Hand-made widgets and gadgets, shipped across "
    "Europe.\">\n"
    "<meta name=\"keywords\" content=\"widgets, gadgets, catalogue, hand-made\">\n"
    "<META NAME=\"Author\" CONTENT=\"Jane Example\">\n"
    "<meta name=\"robots\" content=\"index, follow\">\n"
    "<meta name=\"generator\" content=\"Notepad\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/site.css\">\n"
    "<LINK REL=\"icon\" HREF=\"/favicon.ico\">\n"
    "<style type=\"text/css\">\n"
    "body { font-family: Verdana, sans-serif; margin: 0 }\n"
    "div.section > p { line-height: 1.4 }\n"
    "</style>\n"
    "<script type=\"text/javascript\">\n"
    "<!--\n"
    "function toggle(id) {\n"
    "  var e = document.getElementById(id);\n"
    "  for (var i = 0; i < e.children.length && i <= 10; i++)\n"
    "    e.children[i].style.display = (e.children[i].style.display == 'none') ? '' : 'none';\n"
    "}\n"
    "// -->\n"
    "</script>\n"
    "</HEAD>\n"
    "<BODY bgcolor=\"#ffffff\" onload=\"init()\">\n"
    "<!-- page header -->\n"
    "<div id=\"header\" class=\"banner\"><a href=\"/index.html\"><IMG SRC=\"img/logo.gif\" "
    "ALT=\"Widgets\" WIDTH=120 HEIGHT=40></a></div>\n";

void AppendSection(std::string& out, Random& random, uint64_t n) {
    out += "<div class=\"section\" id=\"sec";
    AppendNumber(out, n);
    out += "\">\n<h2><a name=\"s";
    AppendNumber(out, n);
    out += "\"></a>";
    AppendWords(out, random, 2 + random.Below(4));
    out += "</h2>\n";

    for (int p = 1 + random.Below(3); p > 0; --p) {
        out += random.OneIn(4) ? "<P align=center>" : "<p>";
        AppendWords(out, random, 6 + random.Below(12));
        out += " <a href=\"page";
        AppendNumber(out, random.Next() % 1000);
        out += ".html\" title=\"";
        AppendWords(out, random, 2);
        out += "\">";
        AppendWords(out, random, 1 + random.Below(3));
        out += "</a> ";
        AppendWords(out, random, 3 + random.Below(8));
        out += " <span class=\"note\">";
        AppendWords(out, random, 2 + random.Below(4));
        out += "</span> &amp; <B>";
        AppendWords(out, random, 1 + random.Below(2));
        out += "</B>.<br>\n";
        AppendWords(out, random, 5 + random.Below(15));
        out += ".</p>\n";
    }

    out += "<ul class=\"nav\">\n";
    for (int i = 2 + random.Below(5); i > 0; --i) {
        out += "  <li><a href=\"/item/";
        AppendNumber(out, random.Next() % 100000);
        out += "\">";
        AppendWords(out, random, 1 + random.Below(4));
        out += "</a></li>\n";
    }
    out += "</ul>\n";

    if (random.OneIn(2)) {
        out += "<TABLE border=1 cellpadding=\"2\" width=\"100%\">\n"
               "<TR><TH>Name</TH><TH>Price</TH></TR>\n";
        for (int i = 2 + random.Below(4); i > 0; --i) {
            out += "<TR><TD>";
            AppendWords(out, random, 1 + random.Below(3));
            out += "</TD><TD align=\"right\">";
            AppendNumber(out, random.Next() % 1000);
            out += ".00</TD></TR>\n";
        }
        out += "</TABLE>\n";
    }
    if (random.OneIn(3)) {
        out += "<img src=\"img/photo";
        AppendNumber(out, n);
        out += ".jpg\" alt=\"";
        AppendWords(out, random, 3);
        out += "\" width=\"120\" height=\"80\">\n";
    }
    if (random.OneIn(8)) {
        // Written by hand, broken over lines.
        out += "<a\n   href=\"long/path/to/";
        AppendNumber(out, n);
        out += ".html\"\n   class=\"more\">read more</a>\n";
    }
    if (random.OneIn(10)) {
        out += "<form action=\"/search\" method=\"get\"><input type=\"text\" name=\"q\" "
               "value=\"\"> <INPUT TYPE=submit VALUE=\"Go\"></form>\n";
    }
    if (random.OneIn(16)) {
        out += "<script>document.write('<p>' + new Date().getFullYear() + '</p>'); "
               "if (a < b && b > c) init();</script>\n";
    }
    out += "<!-- end of section ";
    AppendNumber(out, n);
    out += " -->\n</div>\n";
}

} // namespace

std::string MakeTypicalPage(size_t targetBytes) {
    static const char tail[] = "<div id=\"footer\">&copy; 2024 Widgets Ltd.</div>\n</BODY>\n"
                               "</HTML>\n";
    Random random(0x9E3779B97F4A7C15ULL);
    std::string out;
    out.reserve(targetBytes + 4096);
    out += kTypicalHead;
    for (uint64_t n = 1; out.size() + sizeof tail - 1 < targetBytes; ++n)
        AppendSection(out, random, n);
    out += tail;
    return out;
}

std::string MakeMetaPage(int metaCount) {
    Random random(0xD1B54A32D192ED03ULL);
    std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Many meta tags</title>\n";
    for (int i = 0; i < metaCount; ++i) {
        switch (i % 8) {
        case 0:
            out += "<META NAME=\"Key";
            break;
        case 5:
            out += "<meta http-equiv=\"X-Header-";
            break;
        default:
            out += "<meta name=\"key";
            break;
        }
        AppendNumber(out, static_cast<uint64_t>(i));
        out += i % 8 == 0 ? "\" CONTENT=\"" : "\" content=\"";
        AppendWords(out, random, 2 + random.Below(6));
        out += i % 3 == 0 ? "\" />\n" : "\">\n";
    }
    out += "</head>\n<body>\n<h1>Many meta tags</h1>\n<p>A short body.</p>\n</body>\n</html>\n";
    return out;
}

std::string MakeTextRunPage(size_t targetBytes) {
    static const char tail[] = "\n</body></html>\n";
    Random random(0x2545F4914F6CDD1DULL);
    std::string out;
    out.reserve(targetBytes + 256);
    out += "<html><head><title>One text run</title></head><body>\n";
    int column = 0;
    while (out.size() + sizeof tail - 1 < targetBytes) {
        const std::string_view word = kWords[random.Below(std::size(kWords))];
        out += word;
        column += static_cast<int>(word.size()) + 1;
        if (column > 72) {
            out += random.OneIn(12) ? ".\n\n" : "\n";
            column = 0;
        } else {
            out += random.OneIn(40) ? " &amp; " : " ";
        }
    }
    out += tail;
    return out;
}

const RealPages& PythonDocPages() {
    static const RealPages pages = [] {
        RealPages result;
        std::error_code error;
        namespace fs = std::filesystem;
        if (!fs::is_directory(kPythonDocFolder, error)) {
            result.error = std::string(kPythonDocFolder) +
                           " is missing: install python3.11-doc (scripts/install-deps.sh --bench)";
            return result;
        }
        for (fs::recursive_directory_iterator it(kPythonDocFolder, error), end; it != end && !error;
             it.increment(error)) {
            if (it->is_regular_file(error) && it->path().extension() == ".html")
                result.paths.push_back(it->path().string());
        }
        std::sort(result.paths.begin(), result.paths.end());
        for (const std::string& path : result.paths) {
            std::string text;
            std::string reason;
            if (!ReadPageFile(path, text, reason)) {
                result.error = path + ": " + reason;
                result.texts.clear();
                result.totalBytes = 0;
                return result;
            }
            result.totalBytes += text.size();
            result.texts.push_back(std::move(text));
        }
        if (result.texts.empty())
            result.error = std::string("no HTML pages under ") + kPythonDocFolder;
        return result;
    }();
    return pages;
}

size_t LargestPage(const RealPages& pages) {
    size_t best = 0;
    for (size_t i = 1; i < pages.texts.size(); ++i) {
        if (pages.texts[i].size() > pages.texts[best].size())
            best = i;
    }
    return best;
}
