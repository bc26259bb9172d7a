// Edge-case archive images: each is a sound archive from the packer's layout, then bent in one way.
#include "payload_samples.h"

#include "core/payload_checksum.h"
#include "tools/payload_writer.h"

namespace gls::test {

void setU64(std::vector<unsigned char>& image, size_t at, unsigned long long value)
{
    for (int i = 0; i < 8; ++i) image[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void setU32(std::vector<unsigned char>& image, size_t at, unsigned value)
{
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void resealChecksum(std::vector<unsigned char>& image)
{
    setU64(image, 16, payloadChecksum(image.data() + 24, image.size() - 24));
}

namespace {

std::vector<unsigned char> bytes(const std::string& s) { return {s.begin(), s.end()}; }

// Two files: "a.txt" (3 bytes) at record 24, "b/c.bin" (2 bytes) at record 49; data at 76.
std::vector<unsigned char> twoFiles()
{
    return buildPayloadArchive({{"a.txt", bytes("abc")}, {"b/c.bin", bytes("xy")}});
}

// An archive with a single record whose name is stored as given, bypassing the packer's checks.
std::vector<unsigned char> withName(const std::string& name)
{
    std::vector<unsigned char> image = buildPayloadArchive({{std::string(name.size(), 'n'), bytes("z")}});
    std::copy(name.begin(), name.end(), image.begin() + 44);
    resealChecksum(image);
    return image;
}

} // namespace

std::vector<PayloadSample> payloadSamples()
{
    std::vector<PayloadSample> s;
    s.push_back({"header only", buildPayloadArchive({}), ""});
    s.push_back({"two files", twoFiles(), ""});

    std::vector<unsigned char> short23 = buildPayloadArchive({});
    short23.pop_back();
    s.push_back({"23 bytes", short23, "no payload"});
    std::vector<unsigned char> magic = buildPayloadArchive({});
    magic[3] = '2';
    s.push_back({"other magic", magic, "no payload"});

    for (size_t at : {24u, 50u, 76u, 80u}) {
        std::vector<unsigned char> flipped = twoFiles();
        flipped[at] ^= 0x40;
        s.push_back({"flipped byte at " + std::to_string(at), flipped, "the payload's checksum does not match"});
    }

    // Header fields lie outside the checksum: the index and size checks catch them.
    std::vector<unsigned char> moreEntries = twoFiles();
    setU32(moreEntries, 4, 3);
    s.push_back({"entry count one too many", moreEntries, "the payload's index is cut short"});
    std::vector<unsigned char> fewerEntries = twoFiles();
    setU32(fewerEntries, 4, 1);
    s.push_back({"entry count one too few", fewerEntries, "the payload's data is not the size its header says"});
    std::vector<unsigned char> biggerData = twoFiles();
    setU64(biggerData, 8, 6);
    s.push_back({"data size one too big", biggerData, "the payload's data is not the size its header says"});

    std::vector<unsigned char> longName = twoFiles();
    setU32(longName, 49, 1000);
    resealChecksum(longName);
    s.push_back({"name runs past the end", longName, "the payload's index is cut short"});
    std::vector<unsigned char> hugeName = twoFiles();
    setU32(hugeName, 24, 0xFFFFFFFFu);
    resealChecksum(hugeName);
    s.push_back({"name length 2^32-1", hugeName, "the payload's index is cut short"});
    std::vector<unsigned char> cutRecord = twoFiles();
    cutRecord.resize(60);
    resealChecksum(cutRecord);
    s.push_back({"record cut short", cutRecord, "the payload's index is cut short"});

    s.push_back({"name with ..", withName("a/../b"), "a path in the payload is not allowed: a/../b"});
    s.push_back({"name with colon", withName("c:x"), "a path in the payload is not allowed: c:x"});
    s.push_back({"name in bad UTF-8 passes the rule", withName("caf\xE9"), ""});

    // Names the setup keeps for itself, and names too long to write below the longest folder.
    s.push_back(
        {"the uninstaller's name", withName("uNINSTALL.exe"), "a path in the payload is not allowed: uNINSTALL.exe"});
    s.push_back({"below the uninstaller's name", withName("Uninstall.exe/x"),
                 "a path in the payload is not allowed: Uninstall.exe/x"});
    s.push_back({"the uninstaller's name deeper down", withName("live/Uninstall.exe"), ""});
    s.push_back(
        {"below a work name", withName(".GLSETUP-old-7/x"), "a path in the payload is not allowed: .GLSETUP-old-7/x"});
    s.push_back({"a work name's look-alike deeper down", withName("live/.glsetup-new"), ""});
    std::string longest = "live/" + std::string(49, 'n');
    s.push_back({"longest name", withName(longest), ""});
    s.push_back(
        {"one character too long", withName(longest + "n"), "a path in the payload is not allowed: " + longest + "n"});
    // Counted in UTF-16 units: a character beyond U+FFFF takes two.
    std::string wide = std::string(52, 'n') + "\xF0\x9F\x8E\xB5";
    s.push_back({"one unit too long", withName(wide + "n"), "a path in the payload is not allowed: " + wide + "n"});
    s.push_back({"longest with a wide character", withName(wide), ""});

    // Names Windows takes for one file or folder.
    s.push_back({"the same name twice", buildPayloadArchive({{"a.txt", bytes("1")}, {"a.txt", bytes("2")}}),
                 "two paths in the payload collide: a.txt and a.txt"});
    s.push_back({"names that differ in case",
                 buildPayloadArchive({{"live/A.py", bytes("1")}, {"Live/a.py", bytes("2")}}),
                 "two paths in the payload collide: Live/a.py and live/A.py"});
    s.push_back({"a file where a folder must be",
                 buildPayloadArchive({{"plugins", bytes("1")}, {"Plugins/x.dll", bytes("2")}}),
                 "two paths in the payload collide: plugins and Plugins/x.dll"});

    std::vector<unsigned char> trailing = buildPayloadArchive({{"a.txt", bytes("abc")}});
    trailing.push_back('!');
    resealChecksum(trailing);
    s.push_back({"one trailing byte", trailing, "the payload's data is not the size its header says"});

    // a.txt's record: size at 28, offset at 36; the data area is 5 bytes.
    std::vector<unsigned char> atEnd = twoFiles();
    setU64(atEnd, 28, 0);
    setU64(atEnd, 36, 5);
    resealChecksum(atEnd);
    s.push_back({"offset at the end, size 0", atEnd, ""});
    std::vector<unsigned char> pastEnd = twoFiles();
    setU64(pastEnd, 28, 0);
    setU64(pastEnd, 36, 6);
    resealChecksum(pastEnd);
    s.push_back({"offset one past the end", pastEnd, "a file in the payload runs past its end"});
    std::vector<unsigned char> sizePast = twoFiles();
    setU64(sizePast, 28, 3);
    setU64(sizePast, 36, 3);
    resealChecksum(sizePast);
    s.push_back({"offset and size one past", sizePast, "a file in the payload runs past its end"});
    std::vector<unsigned char> wraps = twoFiles();
    setU64(wraps, 28, ~0ull);
    setU64(wraps, 36, 2);
    resealChecksum(wraps);
    s.push_back({"offset plus size wraps around", wraps, "a file in the payload runs past its end"});
    std::vector<unsigned char> overlap = twoFiles();
    setU64(overlap, 36, 1); // a.txt now overlaps b/c.bin; the reader does not look for that
    resealChecksum(overlap);
    s.push_back({"overlapping entries", overlap, ""});
    return s;
}

} // namespace gls::test
