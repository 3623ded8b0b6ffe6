// The conditionals and loops that server-script blocks open and close, so that
// a tag is never written where the server sends it only sometimes (or many
// times). "<?php if ($x) { ?>", "<?php foreach ($a as $b): ?>" and
// "<% If x Then %>" open one; "<?php } ?>", "<?php endif; ?>" and
// "<% End If %>" close it; "<?php } else { ?>" and "<% Else %>" do both.
#pragma once

#include <string_view>

// What one block does: it first closes `closes` blocks that were open before
// it, then leaves `opens` blocks of its own open.
struct ServerBlockEffect {
    int closes = 0;
    int opens = 0;
    bool operator==(const ServerBlockEffect&) const = default;
};

// The effect of a server-script block as a page holds it, from "<?" or "<%"
// through "?>" or "%>": PHP (braces and the "if (...): ... endif;" forms),
// ASP in VBScript (If ... Then / End If, Select Case, For / Next, Do / Loop,
// While / Wend) or in a language with braces. Blocks that only print
// ("<?= ... ?>", "<%= ... %>"), directives, comments and XML declarations
// change nothing.
ServerBlockEffect ServerBlockEffectOf(std::string_view block);
