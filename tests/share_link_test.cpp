// Links that hold a recording: what the desktop makes opens on the page and back, byte for byte,
// and a damaged or hostile link is refused with its reason, never read past its bounds.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>

#include "replay/base64.hpp"
#include "replay/input_script.hpp"
#include "replay/share_link.hpp"

namespace starvane {
namespace {

std::string Decoded(std::string_view link, std::size_t most_bytes = kMostInputScriptBytes) {
  auto decoded = RecordingOfLink(link, most_bytes);
  if (const auto* error = std::get_if<LinkError>(&decoded)) return "error: " + error->message;
  return std::get<std::string>(decoded);
}

std::string LinkOf(std::string_view recording, std::string_view site = "https://x.org/play/") {
  auto link = LinkOfRecording(recording, site);
  if (const auto* error = std::get_if<LinkError>(&link)) return "error: " + error->message;
  return std::get<std::string>(link);
}

// A raw deflate block of fixed codes that writes 'a' and then copies it 258 bytes at a time,
// 1 + 8 * eights times: 13 bits for every 258 bytes, a link far smaller than what it inflates to.
std::string InflatingBomb(std::size_t eights) {
  std::string bytes;
  std::uint32_t bits = 0;
  int held = 0;
  const auto put = [&](std::uint32_t code, int length) {  // a code, its first bit first
    for (int i = length - 1; i >= 0; --i) {
      bits |= ((code >> i) & 1u) << held;
      if (++held == 8) {
        bytes += static_cast<char>(bits);
        bits = 0;
        held = 0;
      }
    }
  };
  const auto copy = [&] {
    put(0b11000101, 8);  // length 258
    put(0, 5);           // distance 1
  };
  put(0b110, 3);       // the last block (1), of fixed codes (type 1, its low bit first)
  put(0x30 + 'a', 8);  // the literal 'a'
  copy();              // 24 bits so far: eight copies more are 13 whole bytes
  for (int i = 0; i < 8; ++i) copy();
  const std::string eight = bytes.substr(3);
  for (std::size_t i = 1; i < eights; ++i) bytes += eight;
  put(0, 7);  // the block's end
  if (held > 0) bytes += static_cast<char>(bits);
  return bytes;
}

TEST(ShareLink, ARecordingBecomesALinkToThePageAndReadsBackByteForByte) {
  std::string every_byte;
  for (int i = 0; i < 256; ++i) every_byte += static_cast<char>(i);
  const std::string script = "seed 5\ndifficulty crazy\nship Daredevil\n0 down Left Space\n";
  for (const std::string& recording : {script, every_byte + every_byte, std::string("a")}) {
    const std::string link = LinkOf(recording, "https://x.org/play/#old");
    ASSERT_EQ(link.rfind("https://x.org/play/#r=", 0), 0u) << link;
    EXPECT_EQ(
        link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_",
                               link.find("#r=") + 3),
        std::string::npos)
        << link;
    EXPECT_EQ(Decoded(link), recording);
  }
  // What the browser's CompressionStream('deflate-raw') makes of "a" (no zlib header), and
  // base64url's own two characters.
  EXPECT_EQ(Decoded("https://x.org/#r=SwQA\r\n"), "a");
  EXPECT_EQ(Decoded("https://x.org/#r=" + EncodeBase64Url(InflatingBomb(1))),
            std::string(1 + 258 * 9, 'a'));
  EXPECT_EQ(EncodeBase64Url("\xfb\xff"), "-_8");
}

TEST(ShareLink, DamagedOrHostileLinksAreRefusedEachWithItsReason) {
  const std::string good = LinkOf("seed 1\n0 down Up\n");
  const std::string site = "https://x.org/#r=";
  const struct {
    std::string link;
    std::string reason;
  } cases[] = {
      {"https://x.org/", "no \"#r=\""},
      {site, "nothing after"},
      {site + "Sw=A", "not base64url"},
      {site + "SwQAA", "cut short (a length"},
      {site + "_____w", "damaged"},
      {good.substr(0, good.size() - 3), "cut short (its compressed"},
      {site + "SwQAAA", "more bytes after"},
      {site + std::string(kMostLinkBytes, 'A'), "longer than 2 MiB"},
  };
  for (const auto& c : cases) {
    const std::string said = Decoded(c.link);
    EXPECT_EQ(said.rfind("error: the link ", 0), 0u) << c.reason << ": " << said.substr(0, 80);
    EXPECT_NE(said.find(c.reason), std::string::npos) << c.reason << ": " << said.substr(0, 80);
  }
  // A link that inflates past the bound stops there (the game's bound is 64 MiB; 1 MiB here).
  const std::size_t eights = (1 << 20) / (8 * 258) + 1;
  const std::string bomb = site + EncodeBase64Url(InflatingBomb(eights));
  EXPECT_EQ(Decoded(bomb, 1 << 20),
            "error: the link holds more than 1 MiB, too large for a recording");
  EXPECT_EQ(Decoded(bomb, 2 << 20).size(), 1 + 258 * (1 + 8 * eights));
}

}  // namespace
}  // namespace starvane
