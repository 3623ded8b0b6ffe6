// The fixed texts of the document: new page and new template.
#pragma once

// The program's name and home page as they appear in new pages and templates.
extern const char PROGRAM_NAME[];
extern const char PROGRAM_HOMEPAGE[];

// The text of a new page.
extern const char NEW_PAGE_TEXT[];
// The text of a new template.
extern const char NEW_TEMPLATE_TEXT[];
