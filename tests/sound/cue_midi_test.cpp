// The two small parsers of the sound folder: cue sheets (what they accept,
// and the line of what they refuse) and the timing of MIDI files.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sound/cue_sheet.h"
#include "sound/midi_file.h"
#include "sound/sound_files.h"

namespace qln {
namespace {

TEST(CueSheet, ReadsOneImageWithDataAndAudioTracks) {
    const char* text =
        "\xEF\xBB\xBFREM GENRE Game\r\n"
        "FILE \"Game Disc.bin\" BINARY\r\n"
        "  TRACK 01 MODE1/2352\r\n"
        "    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n"
        "    PREGAP 00:02:00\r\n"
        "    INDEX 00 00:10:00\r\n"
        "    INDEX 01 00:12:74\r\n"
        "  track 3 audio\r\n"
        "    index 1 61:00:00\r\n";
    CueSheet sheet;
    size_t line = 99;
    ASSERT_EQ(cue_parse(text, sheet, line), CueError::None) << line;
    EXPECT_EQ(sheet.file, "Game Disc.bin");
    EXPECT_TRUE(sheet.binary);
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_FALSE(sheet.tracks[0].audio);
    EXPECT_TRUE(sheet.tracks[1].audio);
    EXPECT_EQ(sheet.tracks[1].start, 12u * 75 + 74);  // INDEX 01, not the pregap's 00
    EXPECT_EQ(sheet.tracks[2].number, 3u);
    EXPECT_EQ(sheet.tracks[2].start, 61u * 60 * 75);
}

TEST(CueSheet, RefusesBrokenSheetsAtTheirLine) {
    struct Case {
        const char* text;
        CueError error;
        size_t line;
    };
    const Case cases[] = {
        {"FILE a.bin BINARY\nFILE b.bin BINARY\n", CueError::SecondFile, 2},
        {"TRACK 01 AUDIO\n", CueError::NoFile, 1},
        {"FILE a.mp3 MP3\n", CueError::BadFile, 1},
        {"FILE \"a.bin BINARY\n", CueError::NoClosingQuote, 1},
        {"FILE a.bin BINARY\nTRACK 100 AUDIO\n", CueError::BadTrack, 2},
        {"FILE a.bin BINARY\nTRACK 00 AUDIO\n", CueError::BadTrack, 2},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n",
         CueError::BadTrack, 4},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nTRACK 03 AUDIO\n", CueError::MissingIndex, 3},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\n", CueError::MissingIndex, 0},
        {"FILE a.bin BINARY\n", CueError::NoTracks, 0},
        {"FILE a.bin BINARY\nINDEX 01 00:00:00\n", CueError::BadIndex, 2},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:60:00\n", CueError::BadIndex, 3},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:75\n", CueError::BadIndex, 3},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00\n", CueError::BadIndex, 3},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:05:00\nTRACK 03 AUDIO\n"
         "INDEX 01 00:04:00\n",
         CueError::BadIndex, 5},
        {"FILE a.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 0:0:0\nINDEX 01 0:1:0\n", CueError::BadIndex,
         4},
        {"FILE a.bin BINARY\nDISCID 1234\n", CueError::UnknownLine, 2},
        {"", CueError::NoFile, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CueSheet sheet;
        size_t line = 99;
        EXPECT_EQ(cue_parse(c.text, sheet, line), c.error);
        EXPECT_EQ(line, c.line);
    }
    CueSheet sheet;
    size_t line = 0;
    EXPECT_EQ(cue_parse(std::string(64 * 1024 + 1, ' '), sheet, line), CueError::TooLarge);
}

TEST(MidiFile, TimesFollowTheTempoMap) {
    const std::vector<uint8_t> file = test::midi_two_tempos();
    MidiTiming t;
    ASSERT_EQ(midi_scan(file.data(), file.size(), t), MidiError::None);
    EXPECT_EQ(t.last_tick, 1920u);
    const uint64_t ticks[] = {0, 480, 960, 1440, 1920};
    const uint64_t us[] = {0, 500000, 1000000, 1250000, 1500000};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(midi_us_at_tick(t, ticks[i]), us[i]);
        EXPECT_EQ(midi_tick_at_us(t, us[i]), ticks[i]);
    }
    // Time code: 25 frames of 40 ticks a second, whatever the tempo.
    std::vector<uint8_t> smpte = file;
    smpte[12] = uint8_t(-25);
    smpte[13] = 40;
    ASSERT_EQ(midi_scan(smpte.data(), smpte.size(), t), MidiError::None);
    EXPECT_EQ(midi_us_at_tick(t, 1920), 1920u * 1000);
}

TEST(MidiFile, RefusesBrokenFiles) {
    const std::vector<uint8_t> good = test::midi_two_tempos();
    struct Case {
        const char* name;
        std::vector<std::pair<size_t, uint8_t>> bytes;  // changed to
        size_t cut;                                     // the length kept (0: all)
        MidiError error;
    };
    const Case cases[] = {
        {"no header", {{0, 'X'}}, 0, MidiError::NotMidi},
        {"no tracks", {{11, 0}}, 0, MidiError::BadHeader},
        {"a division of 0", {{12, 0x80}, {13, 0}}, 0, MidiError::BadHeader},
        {"a track longer than the file", {{21, 200}}, 0, MidiError::BadTrack},
        {"a cut file", {}, 40, MidiError::BadTrack},
        {"data before any status", {{30, 0x00}}, 0, MidiError::BadEvent},
        {"a system message", {{30, 0xF2}}, 0, MidiError::BadEvent},
        {"a meta length past the track", {{25, 0x7F}}, 0, MidiError::BadEvent},
        {"a five-byte delta",
         {{22, 0xFF}, {23, 0xFF}, {24, 0xFF}, {25, 0xFF}},
         0,
         MidiError::BadEvent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bad = good;
        for (const auto& [at, value] : c.bytes) bad[at] = value;
        if (c.cut) bad.resize(c.cut);
        MidiTiming t;
        EXPECT_EQ(midi_scan(bad.data(), bad.size(), t), c.error);
    }
}

}  // namespace
}  // namespace qln
