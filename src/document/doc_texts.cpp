#include "document/doc_texts.h"

#define TSLE_PROGRAM_NAME "TSLE"

extern const char PROGRAM_NAME[] = TSLE_PROGRAM_NAME;
extern const char PROGRAM_HOMEPAGE[] = TSLE_HOMEPAGE;

// Two spaces after "by" in the page text, one in the template text: both are
// what existing files contain.
extern const char NEW_PAGE_TEXT[] =
    "<html><head></head><body>Empty file created by  <a href='" TSLE_HOMEPAGE "'>" TSLE_PROGRAM_NAME
    ".</a></body></html>";
extern const char NEW_TEMPLATE_TEXT[] =
    "<html><head></head><body>Meta tag template file created by <a href='" TSLE_HOMEPAGE
    "'>" TSLE_PROGRAM_NAME ".</a></body></html>";
