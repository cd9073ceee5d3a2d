// The HTML converter on any bytes: an HTML book file becomes the converted text file.
#include <cstdio>

#include "BookHtml.h"
#include "Config.h"
#include "FuzzSupport.h"
#include "MainLoad.h"
#include "support_MainFakes.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  MainFakesAllocBuffers();
  FuzzSeedRun([](const std::string& seeds) {
    FuzzSeed(seeds, "plain.html",
             "<html><head><title>T</title></head><body><h1>One</h1><p>Text &amp; more&nbsp;text.</p>"
             "<ul><li>a</li><li>b</li></ul><hr><p class=\"x\">Two<br>lines</p></body></html>\n");
    FuzzSeed(seeds, "entities.html",
             "<BODY><P>&#233;t&eacute; &#x263A; &lt;tag&gt; &unknown; &#99999999;</P>"
             "<div style=\"display:none\">hidden</div><pre>  kept   spaces\n  here</pre></BODY>\n");
    FuzzSeed(seeds, "broken.html", "<body><p>unclosed <b>bold <i>italic <a href=\"x>link\n<!-- comment");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MainFakesReset();
  snprintf(pdf_filename, sizeof(pdf_filename), "%s/book.html", FuzzDir().c_str());
  snprintf(text_filename, sizeof(text_filename), "%s/book.txt", FuzzDir().c_str());
  snprintf(book_name, sizeof(book_name), "book");
  if (!FuzzWriteFile(pdf_filename, data, size)) return 0;
  config.html_paragraph_spacing = (char)(size % 3);
  CreateTextFileFromHtmlFile(0, nullptr, nullptr, nullptr);
  return 0;
}
