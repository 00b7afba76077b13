// WaveImage: the game's own sounds, and damaged images made here by hand.

#include "sound/wave_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/little_endian.h"
#include "platform/platform.h"
#include "sound/sound_buffers.h"

namespace {

uint32_t u32(const uint8_t* at) {
    return formats::readLittle32({at, 4}, 0);
}

void append(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

void appendU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void appendU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// A chunk with its id, the length it claims and its body; a pad byte follows
// an odd body unless told otherwise.
void appendChunk(std::vector<uint8_t>& out, const std::string& id, uint32_t claimedLength,
                 const std::vector<uint8_t>& body, bool pad = true) {
    append(out, id);
    appendU32(out, claimedLength);
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) out.push_back(0);
}

void appendChunk(std::vector<uint8_t>& out, const std::string& id,
                 const std::vector<uint8_t>& body) {
    appendChunk(out, id, static_cast<uint32_t>(body.size()), body);
}

// The body of a PCM "fmt " chunk.
std::vector<uint8_t> pcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    std::vector<uint8_t> body;
    const auto align = static_cast<uint16_t>(channels * bits / 8);
    appendU16(body, 1);
    appendU16(body, channels);
    appendU32(body, rate);
    appendU32(body, rate * align);
    appendU16(body, align);
    appendU16(body, bits);
    return body;
}

// "RIFF", the length of what follows, "WAVE", then the chunks.
std::vector<uint8_t> riff(const std::vector<uint8_t>& chunks, const std::string& form = "WAVE") {
    std::vector<uint8_t> out;
    append(out, "RIFF");
    appendU32(out, static_cast<uint32_t>(chunks.size() + 4));
    append(out, form);
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

std::vector<uint8_t> samples(size_t count, uint8_t first = 1) {
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(first + i);
    return out;
}

platform::WaveFormat untouchedFormat() {
    platform::WaveFormat format;
    std::memset(&format, 0xAB, sizeof format);
    return format;
}

bool sameBytes(const platform::WaveFormat& a, const platform::WaveFormat& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// ------------------------------------------------------------ the game's sounds

TEST(WaveImageGameSounds, EverySoundIsEightBitMonoAt22050) {
    for (int id : soundOrder) {
        WaveImage reader;
        ASSERT_EQ(reader.loadFromResource(static_cast<unsigned>(id), platform::gameModule()), 1)
            << id;
        platform::WaveFormat format = untouchedFormat();
        ASSERT_EQ(reader.readFormat(&format), 1) << id;
        EXPECT_EQ(format.formatTag, 1) << id;
        EXPECT_EQ(format.channels, 1) << id;
        EXPECT_EQ(format.samplesPerSec, 22050u) << id;
        EXPECT_EQ(format.avgBytesPerSec, 22050u) << id;
        EXPECT_EQ(format.blockAlign, 1) << id;
        EXPECT_EQ(format.bitsPerSample, 8) << id;
    }
}

TEST(WaveImageGameSounds, VictoryMusicHasAnOddLengthAndARiffLengthWithThePadByte) {
    WaveImage reader;
    ASSERT_EQ(reader.loadFromResource(141, platform::gameModule()), 1);
    EXPECT_EQ(reader.dataSize(), 330843u);
    ASSERT_GE(reader.size, 8u);
    EXPECT_EQ(u32(reader.data + 4), 330880u);
    EXPECT_EQ(reader.size, 330888u);
}

TEST(WaveImageGameSounds, ReadDataCopiesNoMoreThanTheCapacity) {
    WaveImage reader;
    ASSERT_EQ(reader.loadFromResource(149, platform::gameModule()), 1);
    const uint32_t size = reader.dataSize();
    ASSERT_EQ(size, 15584u);
    // Every game image has a 16-byte "fmt " chunk, so the samples start at 44.
    const uint8_t* body = reader.data + 44;
    ASSERT_EQ(u32(reader.data + 36), 0x61746164u) << "data";

    std::vector<uint8_t> into(size + 16, 0xEE);
    EXPECT_EQ(reader.readData(into.data(), 1000), 1000u);
    EXPECT_EQ(std::memcmp(into.data(), body, 1000), 0);
    EXPECT_EQ(into[1000], 0xEE) << "not one byte more";

    std::fill(into.begin(), into.end(), 0xEE);
    EXPECT_EQ(reader.readData(into.data(), size), size);
    EXPECT_EQ(std::memcmp(into.data(), body, size), 0);
    EXPECT_EQ(into[size], 0xEE);

    std::fill(into.begin(), into.end(), 0xEE);
    EXPECT_EQ(reader.readData(into.data(), size + 16), size) << "a larger block gets the data";
    EXPECT_EQ(into[size], 0xEE);

    EXPECT_EQ(reader.readData(into.data(), 0), 0u);
}

TEST(WaveImageGameSounds, TheQueriesDoNotDependOnEachOther) {
    WaveImage reader;
    ASSERT_EQ(reader.loadFromResource(140, platform::gameModule()), 1);
    std::vector<uint8_t> first(64), second(64);
    EXPECT_EQ(reader.readData(first.data(), 64), 64u);
    platform::WaveFormat format{};
    EXPECT_EQ(reader.readFormat(&format), 1);
    EXPECT_EQ(reader.dataSize(), 24576u);
    EXPECT_EQ(reader.readData(second.data(), 64), 64u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(reader.dataSize(), 24576u);
}

// ------------------------------------------------------------ states

TEST(WaveImageStates, ANewReaderIsEmpty) {
    WaveImage reader;
    EXPECT_EQ(reader.data, nullptr);
    EXPECT_EQ(reader.size, 0u);
    EXPECT_EQ(reader.fromResource, 0);
    EXPECT_EQ(reader.isLoaded(), 0);
    EXPECT_EQ(reader.release(), 0);
}

TEST(WaveImageStates, AnIdWithoutAWaveLeavesTheReaderEmpty) {
    WaveImage reader;
    EXPECT_EQ(reader.loadFromResource(150, platform::gameModule()), 0) << "a bitmap id";
    EXPECT_EQ(reader.fromResource, 1);
    EXPECT_EQ(reader.isLoaded(), 0);
    EXPECT_EQ(reader.data, nullptr);
    EXPECT_EQ(reader.dataSize(), 0u);

    std::vector<uint8_t> into(16, 0xEE);
    EXPECT_EQ(reader.readData(into.data(), 16), 0u);
    EXPECT_EQ(into, std::vector<uint8_t>(16, 0xEE));

    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(reader.readFormat(&format), 0);
    EXPECT_TRUE(sameBytes(format, untouchedFormat())) << "the record is left as it was";
    EXPECT_EQ(reader.release(), 0);
}

TEST(WaveImageStates, LoadingAgainReplacesTheImageAndAMissingOneEmptiesTheReader) {
    WaveImage reader;
    ASSERT_EQ(reader.loadFromResource(140, platform::gameModule()), 1);
    ASSERT_EQ(reader.loadFromResource(147, platform::gameModule()), 1);
    EXPECT_EQ(reader.dataSize(), 18432u);
    EXPECT_EQ(reader.loadFromResource(9999, platform::gameModule()), 0);
    EXPECT_EQ(reader.isLoaded(), 0);
    EXPECT_EQ(reader.dataSize(), 0u);
}

TEST(WaveImageStates, OnlyTheLowSixteenBitsOfTheIdCount) {
    WaveImage reader;
    EXPECT_EQ(reader.loadFromResource(0x10000u + 147u, platform::gameModule()), 1);
    EXPECT_EQ(reader.dataSize(), 18432u);
}

TEST(WaveImageStates, ReleaseGivesTheImageBackOnce) {
    WaveImage reader;
    ASSERT_EQ(reader.loadFromResource(143, platform::gameModule()), 1);
    EXPECT_EQ(reader.isLoaded(), 1);
    EXPECT_EQ(reader.release(), 1);
    EXPECT_EQ(reader.data, nullptr);
    EXPECT_EQ(reader.size, 0u);
    EXPECT_EQ(reader.isLoaded(), 0);
    EXPECT_EQ(reader.dataSize(), 0u);
    EXPECT_EQ(reader.release(), 0);
}

// ------------------------------------------------------------ hand-made images

class HandMadeWaveTest : public ::testing::Test {
  protected:
    // Loads the bytes as WAVE resource 1 of a module of their own; the bytes
    // are copied to a block of exactly their size, so that any read past the
    // end is caught by the address sanitizer.
    WaveImage& load(const std::vector<uint8_t>& bytes) {
        image = std::make_unique<uint8_t[]>(bytes.size());
        if (!bytes.empty()) std::memcpy(image.get(), bytes.data(), bytes.size());
        module.resources = {
            platform::Resource{platform::ResourceType::Wave, 1, {image.get(), bytes.size()}}};
        reader = std::make_unique<WaveImage>();
        reader->loadFromResource(1, &module);
        return *reader;
    }

    std::unique_ptr<uint8_t[]> image;
    platform::Module module;
    std::unique_ptr<WaveImage> reader;
};

TEST_F(HandMadeWaveTest, AWellFormedImageGivesItsFormatAndSamples) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", samples(10));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.isLoaded(), 1);
    EXPECT_EQ(wave.dataSize(), 10u);
    std::vector<uint8_t> into(10);
    EXPECT_EQ(wave.readData(into.data(), 10), 10u);
    EXPECT_EQ(into, samples(10));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 1);
    EXPECT_EQ(format.samplesPerSec, 22050u);
    EXPECT_EQ(format.bitsPerSample, 8);
    EXPECT_EQ(format.cbSize, 0) << "a 16-byte format has no extra size";
}

TEST_F(HandMadeWaveTest, AnEighteenByteFormatKeepsItsExtraSize) {
    std::vector<uint8_t> body = pcmFormat(2, 44100, 16);
    appendU16(body, 0);
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", body);
    appendChunk(chunks, "data", samples(4));
    WaveImage& wave = load(riff(chunks));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 1);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSec, 44100u);
    EXPECT_EQ(format.avgBytesPerSec, 176400u);
    EXPECT_EQ(format.blockAlign, 4);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(format.cbSize, 0);
}

TEST_F(HandMadeWaveTest, AnOddChunkBeforeTheDataIsSteppedOverWithItsPadByte) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "junk", {0x64, 0x61, 0x74});  // "dat", then the pad byte
    appendChunk(chunks, "data", samples(6, 40));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 6u);
    std::vector<uint8_t> into(6);
    EXPECT_EQ(wave.readData(into.data(), 6), 6u);
    EXPECT_EQ(into, samples(6, 40));
}

TEST_F(HandMadeWaveTest, AListChunkBeforeTheDataIsSkipped) {
    std::vector<uint8_t> list;
    append(list, "INFOISFT");
    appendU32(list, 5);
    append(list, "data");
    list.push_back(0);
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "LIST", list);
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", samples(3, 7));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 3u);
    std::vector<uint8_t> into(3);
    EXPECT_EQ(wave.readData(into.data(), 3), 3u);
    EXPECT_EQ(into, samples(3, 7));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 1);
    EXPECT_EQ(format.formatTag, 1);
}

TEST_F(HandMadeWaveTest, AnOddDataChunkAtTheVeryEndNeedsNoPadByte) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", 5, samples(5), false);
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 5u);
    std::vector<uint8_t> into(5);
    EXPECT_EQ(wave.readData(into.data(), 5), 5u);
    EXPECT_EQ(into, samples(5));
}

TEST_F(HandMadeWaveTest, ChunksAfterTheDataDoNotMatter) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", samples(9));
    appendChunk(chunks, "DISP", 0xFFFFFFF0u, {1, 2});
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 9u) << "the search stops at the data";
}

TEST_F(HandMadeWaveTest, ADataLengthPastTheEndFindsNoData) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", 100, samples(20));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 0u);
    std::vector<uint8_t> into(100, 0xEE);
    EXPECT_EQ(wave.readData(into.data(), 100), 0u);
    EXPECT_EQ(into, std::vector<uint8_t>(100, 0xEE));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 1) << "the format before it is still there";
}

TEST_F(HandMadeWaveTest, AHugeChunkLengthBeforeTheDataEndsTheSearch) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "LIST", 0xFFFFFFFFu, {1, 2, 3, 4});
    appendChunk(chunks, "data", samples(8));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 0u);
    std::vector<uint8_t> into(8, 0xEE);
    EXPECT_EQ(wave.readData(into.data(), 8), 0u);
}

TEST_F(HandMadeWaveTest, AHugeDataLengthFindsNoData) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", 0xFFFFFFFFu, samples(8));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 0u);
    std::vector<uint8_t> into(8, 0xEE);
    EXPECT_EQ(wave.readData(into.data(), UINT32_MAX), 0u);
}

// Writers that count a pad byte they never write, or that stream the file
// and leave the length at 0xFFFFFFFF, promise more than the file holds.
TEST_F(HandMadeWaveTest, ARiffLengthPastTheEndIsReadUpToTheRealEnd) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", 7, samples(7), false);
    const std::vector<uint8_t> counted = riff(chunks);
    for (uint32_t claimed :
         {static_cast<uint32_t>(counted.size() - 8 + 1), 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::vector<uint8_t> bytes = counted;
        bytes[4] = static_cast<uint8_t>(claimed);
        bytes[5] = static_cast<uint8_t>(claimed >> 8);
        bytes[6] = static_cast<uint8_t>(claimed >> 16);
        bytes[7] = static_cast<uint8_t>(claimed >> 24);
        WaveImage& wave = load(bytes);
        EXPECT_EQ(wave.dataSize(), 7u) << claimed;
        std::vector<uint8_t> into(8, 0xEE);
        EXPECT_EQ(wave.readData(into.data(), 8), 7u) << claimed;
        EXPECT_EQ(std::vector<uint8_t>(into.begin(), into.begin() + 7), samples(7)) << claimed;
        platform::WaveFormat format = untouchedFormat();
        EXPECT_EQ(wave.readFormat(&format), 1) << claimed;
        EXPECT_EQ(format.samplesPerSec, 22050u) << claimed;
    }
}

TEST_F(HandMadeWaveTest, ARiffLengthPastTheEndStillFindsNoDataCutShort) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", 100, samples(20));
    std::vector<uint8_t> bytes = riff(chunks);
    bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0xFF;
    WaveImage& wave = load(bytes);
    EXPECT_EQ(wave.dataSize(), 0u);
    std::vector<uint8_t> into(100, 0xEE);
    EXPECT_EQ(wave.readData(into.data(), 100), 0u);
}

// The form ends where its length says; what follows is not part of it.
TEST_F(HandMadeWaveTest, ChunksPastAShortRiffLengthAreNotTheForms) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    const auto formatOnly = static_cast<uint32_t>(4 + chunks.size());
    appendChunk(chunks, "data", samples(8));
    std::vector<uint8_t> bytes = riff(chunks);
    bytes[4] = static_cast<uint8_t>(formatOnly);
    bytes[5] = bytes[6] = bytes[7] = 0;
    WaveImage& wave = load(bytes);
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 1);
    EXPECT_EQ(wave.dataSize(), 0u);

    bytes[4] = static_cast<uint8_t>(formatOnly + 12);  // ends inside the data
    WaveImage& cut = load(bytes);
    EXPECT_EQ(cut.dataSize(), 0u);
    std::vector<uint8_t> into(8, 0xEE);
    EXPECT_EQ(cut.readData(into.data(), 8), 0u);
    EXPECT_EQ(into, std::vector<uint8_t>(8, 0xEE));
}

TEST_F(HandMadeWaveTest, ATruncatedImageFindsNothing) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", samples(8));
    const std::vector<uint8_t> whole = riff(chunks);
    for (size_t length : {size_t{1}, size_t{8}, size_t{11}, size_t{12}, size_t{19}, size_t{30},
                          size_t{43}, whole.size() - 1}) {
        WaveImage& wave =
            load(std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(length)));
        EXPECT_EQ(wave.dataSize(), 0u) << length;
        std::vector<uint8_t> into(8, 0xEE);
        EXPECT_EQ(wave.readData(into.data(), 8), 0u) << length;
    }
}

TEST_F(HandMadeWaveTest, AnImageWithoutFormatStillHasItsData) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "data", samples(12));
    WaveImage& wave = load(riff(chunks));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 0);
    EXPECT_TRUE(sameBytes(format, untouchedFormat()));
    EXPECT_EQ(wave.dataSize(), 12u);
}

TEST_F(HandMadeWaveTest, AnImageWithoutDataHasNoSamples) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    WaveImage& wave = load(riff(chunks));
    EXPECT_EQ(wave.dataSize(), 0u);
    std::vector<uint8_t> into(4, 0xEE);
    EXPECT_EQ(wave.readData(into.data(), 4), 0u);
    EXPECT_EQ(into, std::vector<uint8_t>(4, 0xEE));
    platform::WaveFormat format{};
    EXPECT_EQ(wave.readFormat(&format), 1);
}

TEST_F(HandMadeWaveTest, AFormatChunkTooShortForTheRecordIsNotRead) {
    std::vector<uint8_t> body = pcmFormat(1, 22050, 8);
    body.resize(10);
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", body);
    appendChunk(chunks, "data", samples(2));
    WaveImage& wave = load(riff(chunks));
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 0);
    EXPECT_TRUE(sameBytes(format, untouchedFormat()));
    EXPECT_EQ(wave.dataSize(), 2u);
}

TEST_F(HandMadeWaveTest, AnotherFormTypeIsNoWave) {
    std::vector<uint8_t> chunks;
    appendChunk(chunks, "fmt ", pcmFormat(1, 22050, 8));
    appendChunk(chunks, "data", samples(8));
    WaveImage& wave = load(riff(chunks, "AVI "));
    EXPECT_EQ(wave.dataSize(), 0u);
    platform::WaveFormat format = untouchedFormat();
    EXPECT_EQ(wave.readFormat(&format), 0);
}

TEST_F(HandMadeWaveTest, AnEmptyResourceLeavesTheReaderEmpty) {
    WaveImage& wave = load({});
    EXPECT_EQ(wave.isLoaded(), 0);
    EXPECT_EQ(wave.dataSize(), 0u);
}

}  // namespace
