// The product records read from a catalogue document, and the product page's text rules:
// which IDs may name a cache folder, how a description becomes three lines, and which
// addresses are fetched or handed to the shell.
#include "catalogue/catalogue_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue_limits.h"
#include "catalogue/page_text.h"
#include "catalogue/web_address.h"

namespace {

// A product's keys as "<Product%d>" elements; `omit` leaves one of them out, `site` is where
// its addresses point.
std::string Product(int n, const std::string& id, const std::string& omit = "",
                    const std::string& site = "https://s/") {
  const std::string tag = "Product" + std::to_string(n);
  std::string xml = "<" + tag + "><ID>" + id + "</ID>";
  if (omit != "Title") xml += "<Title>Title " + id + "</Title>";
  if (omit != "Version") xml += "<Version>1." + std::to_string(n) + "</Version>";
  xml += "<Description>";
  if (omit != "Text") xml += "<Text>About " + id + "</Text>";
  if (omit != "ScreenshotURL") xml += "<ScreenshotURL>" + site + id + ".jpg</ScreenshotURL>";
  if (omit != "IconURL") xml += "<IconURL>" + site + id + ".bmp</IconURL>";
  xml += "</Description>";
  if (omit != "DownloadURL") xml += "<DownloadURL>" + site + "get/" + id + "</DownloadURL>";
  return xml + "</" + tag + ">";
}

std::string Document(int count, const std::string& products) {
  return "<English><ProductsList><Count>" + std::to_string(count) + "</Count>" + products +
         "</ProductsList></English>";
}

// The IDs read, or "failed"; a failure must leave nothing behind.
std::string Read(const std::string& text) {
  XmlPairs xml;
  EXPECT_TRUE(xml.Parse(text.c_str())) << text;
  std::vector<CatalogueEntry> entries(1);  // something held before
  const bool read = ReadProductRecords(xml, &entries);
  if (!read) return entries.empty() ? "failed" : "failed, entries left";
  std::string ids;
  for (const CatalogueEntry& entry : entries) ids += (ids.empty() ? "" : ",") + entry.ID;
  return ids;
}

TEST(CatalogueRecords, ReadsEveryFieldInDocumentOrder) {
  XmlPairs xml;
  ASSERT_TRUE(xml.Parse(Document(2, Product(1, "MARSORBIT") + Product(2, "NEBULA")).c_str()));
  std::vector<CatalogueEntry> entries;
  ASSERT_TRUE(ReadProductRecords(xml, &entries));
  ASSERT_EQ(entries.size(), 2u);
  const CatalogueEntry& e = entries[1];
  EXPECT_EQ(e.ID, "NEBULA");
  EXPECT_EQ(e.Title, "Title NEBULA");
  EXPECT_EQ(e.Version, "1.2");
  EXPECT_EQ(e.DescriptionText, "About NEBULA");
  EXPECT_EQ(e.ScreenshotFile, "https://s/NEBULA.jpg");
  EXPECT_EQ(e.IconFile, "https://s/NEBULA.bmp");
  EXPECT_EQ(e.DownloadURL, "https://s/get/NEBULA");
}

TEST(CatalogueRecords, LeavesOutThisProductAndUnsafeOnesAndFailsWholeOnAMissingKeyOrTooManyProducts) {
  std::string most, mostIds;  // the most products a catalogue may list
  for (int n = 1; n <= kMaxProducts; ++n) {
    most += Product(n, "P" + std::to_string(n));
    mostIds += (n > 1 ? ",P" : "P") + std::to_string(n);
  }
  const struct {
    std::string document, ids;
  } cases[] = {
      // This product is skipped before its other keys are read, whatever the letter case of
      // its ID (the registry spells it "Tellaro").
      {Document(3, Product(1, "A") + "<Product2><ID>TELLARO</ID></Product2>" + Product(3, "B")), "A,B"},
      {Document(2, Product(1, "A") + Product(2, "Tellaro")), "A"},
      // An ID that would lead out of the cache drops that product only.
      {Document(3, Product(1, "A") + Product(2, "..\\..\\x") + Product(3, "B")), "A,B"},
      // IDs that differ in case only share a folder: the first one is the product.
      {Document(3, Product(1, "Nebula") + Product(2, "NEBULA") + Product(3, "nebula2")), "Nebula,nebula2"},
      // Every address must be https and made of address characters only.
      {Document(3, Product(1, "A", "", "http://s/") + Product(2, "B", "", "https://s/a b/") + Product(3, "C")), "C"},
      {Document(2, Product(1, "A", "", "https://user:secret@s/") + Product(2, "B", "", "HTTPS://s/")), "B"},
      {Document(2, Product(1, std::string(kMaxProductIdLength + 1, 'L')) + Product(2, "CON .txt")), ""},
      // A name of the cache's own drops that product only.
      {Document(4, Product(1, "update.xml") + Product(2, "A") + Product(3, "UPDATE.XML") + Product(4, "tlr9.tmp")), "A"},
      {Document(kMaxProducts, most), mostIds},
      {Document(kMaxProducts + 1, most + Product(kMaxProducts + 1, "P65")), "failed"},
      {Document(90000, Product(1, "A")), "failed"},
      {Document(0, ""), ""},
      {Document(-2, Product(1, "A")), ""},
      {"<English><ProductsList></ProductsList></English>", "failed"},
      {Document(3, Product(1, "A") + Product(2, "B")), "failed"},
      {Document(2, Product(1, "A") + Product(2, "B", "DownloadURL")), "failed"},
      {Document(2, Product(1, "A") + Product(2, "B", "IconURL")), "failed"},
      {Document(2, Product(1, "A", "Title") + Product(2, "B")), "failed"},
      {Document(2, Product(1, "..", "Version") + Product(2, "B")), "failed"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.document), c.ids) << c.document;
}

// Each ID against the folder the file system would give it: another product's, a device, a
// file of the cache's own, or a place outside the cache.
TEST(CatalogueRecords, OnlyNamesThatGiveAFolderOfTheirOwnAreProductIds) {
  const std::string longest(kMaxProductIdLength, 'i');
  for (const std::string& id : std::vector<std::string>{"MARSORBIT", "NEBULA", "Nebula-2", "a_b", "a.b", "a..b", "v1.0.2",
                                                        "CONSOLE", "COM", "LPT", "COM10", "CONIN", "NULL.txt", "x.con",
                                                        "update.xml2", "update", "tlr.tm", "xtlr1.tmp", "tlr1.tmpx",
                                                        "testfilename001.fileext", longest})
    EXPECT_TRUE(IsPlainProductId(id)) << id;
  const struct {
    const char* why;
    std::vector<std::string> ids;
  } refused[] = {
      {"no name, or too long", {"", longest + "i"}},
      {"a place outside the cache", {".", "..", "..a", "a/b", "a\\b", "\\", "C:", "C:x", "x:stream", "..\\..\\Windows"}},
      {"letters outside ASCII fold differently from system to system",
       {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", "\xC3\xA9toile", "COM\xC2\xB9", "lpt\xC2\xB3.txt", "\xEF\xBC\xA1"}},
      {"a short 8.3 alias of another name", {"PRODUC~1", "UPDATE~1.XML", "~x"}},
      {"dropped or refused by Windows in a name",
       {"name.", "name..", "name ", "x y", " x", "a*", "a?", "<x>", "a|b", "\"q\"", "tab\t", "line\n", "del\x7F",
        std::string("a\0b", 3)}},
      {"a device, with any extension and any case",
       {"CON", "con", "Prn", "AUX", "NUL", "nul.txt", "CON.txt", "con.tar.gz", "COM0", "Com1", "COM9", "LPT0",
        "lpt1", "LPT9.log", "CONIN$", "conout$.log", "CON .txt", "aux  .x"}},
      {"a name of the cache's own",
       {"update.xml", "UPDATE.XML", "Update.Xml", "tlr1.tmp", "TLR1A2B.TMP", "tlr.tmp", "tlrprobe.Tmp"}},
  };
  for (const auto& group : refused)
    for (const std::string& id : group.ids) EXPECT_FALSE(IsPlainProductId(id)) << group.why << ": " << id;
}

TEST(ProductPageText, DescriptionBecomesUpToThreeLinesOfAtMost255Characters) {
  const std::string long300(300, 'w');
  const struct {
    std::string text, one, two, three;
  } cases[] = {
      {"Only one line", "Only one line", "", ""},
      {"One\nTwo\nThree", "One", "Two", "Three"},
      {"One\nTwo\nThree\nFour", "One", "Two", "Three"},
      {"One\r\nTwo\r\n", "One", "Two", ""},
      {"One\n\n  Two\n", "One", "Two", ""},
      {"", "", "", ""},
      {long300 + "\nshort", long300.substr(0, 255), "short", ""},
      {"a\n" + long300, "a", long300.substr(0, 255), ""},
  };
  for (const auto& c : cases) {
    const std::array<std::string, 3> lines = SplitDescription(c.text);
    EXPECT_EQ(lines[0], c.one) << c.text;
    EXPECT_EQ(lines[1], c.two) << c.text;
    EXPECT_EQ(lines[2], c.three) << c.text;
  }
}

TEST(WebAddress, OnlyHttpsAddressesOfAddressCharactersAreTaken) {
  const std::string longest = "https://h/" + std::string(kMaxAddressLength - 10, 'p');
  for (const std::string& address : std::vector<std::string>{"https://www.kestrune.example/get/x.exe", "HTTPS://example.org/", "Https://h", "https://h:8443/a?b=c&d=%7E#f",
        "https://[::1]/x", "https://h/a-b._~!$&'()*+,;=:@/", "https://h?q", longest})
    EXPECT_TRUE(IsSecureWebAddress(address)) << address;
  for (const std::string& address : std::vector<std::string>{"http://www.kestrune.example/get/x.exe", "C:\\Windows\\notepad.exe", "notepad", "file:///C:/x.exe",
        "\\\\server\\share\\x.exe", "ftp://h/x", "https:/h", "https://", "https:///x", "https://:443/",
        "https:\\\\h", " https://h", "https://h/a b", "https://h/\"q\"", "https://h/<x>", "https://h/a\\b",
        "https://h/{x}", "https://h/|", "https://h/^`", "https://h\n/x", "https://h/\x7F", "https://h/\xC3\xA9",
        "https://h/%", "https://h/%4", "https://h/%G0", "https://user@h/", "https://u:p@h/x", "mailto:x@h",
        "javascript:x", "", longest + "p"})
    EXPECT_FALSE(IsSecureWebAddress(address)) << address;
}

}  // namespace
