#include "library/SentenceAudio.h"
#include "library/Library.h"

#include <csignal>
#include <filesystem>

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "TempFolder.h"

using namespace lectoria::library;
using lectoria::library::kPathSeparator;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

std::string Xor(std::string bytes)
{
    for (char& c : bytes) {
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kAudioKey);
    }
    return bytes;
}

std::string AllBytes(std::size_t size)
{
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    return bytes;
}

TEST(ScrambleFile, XorsEveryByteAndIsItsOwnInverse)
{
    TempFolder folder;
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{300}, std::size_t{4096}, std::size_t{10000}}) {
        const std::string original = AllBytes(size);
        const fs::path in = folder.Write("in.mp3", original);
        const fs::path scrambled = folder.path() / "out.sau";
        const fs::path back = folder.path() / "back.mp3";
        ASSERT_TRUE(ScrambleFile(in.string(), scrambled.string()).ok());
        EXPECT_EQ(ReadBytes(scrambled), Xor(original)) << size;
        ASSERT_TRUE(ScrambleFile(scrambled.string(), back.string()).ok());
        EXPECT_EQ(ReadBytes(back), original) << size;
    }
}

TEST(ScrambleFile, ReportsUnreadableSourceAndUnwritableOutput)
{
    TempFolder folder;
    const fs::path out = folder.path() / "out.mp3";

    AudioResult missing = ScrambleFile((folder.path() / "missing.sau").string(), out.string());
    EXPECT_EQ(missing.error, AudioError::SourceUnreadable);
    EXPECT_NE(missing.detail.find("missing.sau"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));

    AudioResult directory = ScrambleFile(folder.path().string(), out.string());
    EXPECT_EQ(directory.error, AudioError::SourceUnreadable);
    EXPECT_FALSE(fs::exists(out));

    const fs::path in = folder.Write("in.sau", "abc");
    AudioResult noFolder = ScrambleFile(in.string(), (folder.path() / "no" / "such" / "out.mp3").string());
    EXPECT_EQ(noFolder.error, AudioError::OutputUnwritable);
}

TEST(ScrambleFile, WriteFailureLeavesNoPartialOutput)
{
    TempFolder folder;
    const fs::path in = folder.Write("in.sau", AllBytes(100000));
    const fs::path out = folder.path() / "out.mp3";
    // A file-size limit makes writes fail part-way, as a full disk does.
    lectoria::test::FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.active());
    const AudioResult result = ScrambleFile(in.string(), out.string());
    limit.Lift();

    EXPECT_EQ(result.error, AudioError::OutputUnwritable);
    EXPECT_FALSE(fs::exists(out));
}

class DecoderTest : public testing::Test
{
protected:
    std::string TempDir() const { return (m_folder.path() / "TemporaryQenReading").string() + kPathSeparator; }
    fs::path Temp(std::string_view name) const { return m_folder.path() / "TemporaryQenReading" / name; }
    TempFolder m_folder;
};

TEST_F(DecoderTest, AlternatesTheTwoTemporaryFilesAndDeletesThePreviousOne)
{
    SentenceAudioDecoder decoder(TempDir());
    ASSERT_TRUE(decoder.CreateTempDir());
    const fs::path a = m_folder.Write("a.sau", Xor("first"));
    const fs::path b = m_folder.Write("b.sau", Xor("second"));
    const fs::path c = m_folder.Write("c.sau", "");
    const fs::path temp1 = Temp(SentenceAudioDecoder::kFirstTemp);
    const fs::path temp2 = Temp(SentenceAudioDecoder::kSecondTemp);

    AudioResult first = decoder.DecodeSentenceAudio(a.string());
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(fs::path(first.path), temp2);
    EXPECT_EQ(decoder.tempAudioPath(), first.path);
    EXPECT_EQ(ReadBytes(temp2), "first");

    AudioResult second = decoder.DecodeSentenceAudio(b.string());
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(fs::path(second.path), temp1);
    EXPECT_EQ(ReadBytes(temp1), "second");
    EXPECT_FALSE(fs::exists(temp2));

    AudioResult third = decoder.DecodeSentenceAudio(c.string());
    ASSERT_TRUE(third.ok());
    EXPECT_EQ(fs::path(third.path), temp2);
    EXPECT_TRUE(fs::exists(temp2));
    EXPECT_EQ(fs::file_size(temp2), 0u);
    EXPECT_FALSE(fs::exists(temp1));

    decoder.DeleteTempAudio();
    EXPECT_FALSE(fs::exists(temp1));
    EXPECT_FALSE(fs::exists(temp2));
    decoder.RemoveTempDir();
    EXPECT_FALSE(fs::exists(Temp("")));
}

TEST_F(DecoderTest, FailedDecodingLeavesNoFileThatLooksDecoded)
{
    SentenceAudioDecoder decoder(TempDir());
    ASSERT_TRUE(decoder.CreateTempDir());
    const fs::path good = m_folder.Write("good.sau", Xor("audio"));
    ASSERT_TRUE(decoder.DecodeSentenceAudio(good.string()).ok());
    // A stale file under the name the next decoding writes must not survive a failure.
    m_folder.Write(fs::path("TemporaryQenReading") / SentenceAudioDecoder::kFirstTemp, "stale");

    const AudioResult missing = decoder.DecodeSentenceAudio((m_folder.path() / "missing.sau").string());
    EXPECT_EQ(missing.error, AudioError::SourceUnreadable);
    EXPECT_FALSE(fs::exists(Temp(SentenceAudioDecoder::kFirstTemp)));
}

TEST_F(DecoderTest, MissingTemporaryFolderIsReported)
{
    SentenceAudioDecoder decoder(TempDir());
    const fs::path good = m_folder.Write("good.sau", Xor("audio"));
    const AudioResult result = decoder.DecodeSentenceAudio(good.string());
    EXPECT_EQ(result.error, AudioError::OutputUnwritable);
}

TEST(DefaultTempDir, EndsWithTheFixedFolderName)
{
    const std::string directory = DefaultTempDir();
    EXPECT_EQ(fs::path(directory).parent_path().filename(), "TemporaryQenReading");
    EXPECT_EQ(directory.back(), kPathSeparator);
}

} // namespace
