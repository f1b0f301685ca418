// menuhost's media layer: the built-in engine carried as a resource, the
// audio library binding, the players behind the media values, MIDI through
// the sequencer and cursors from bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ToneAnalysis.h"
#include "app/OrbData.h"
#include "media/AudiereLibrary.h"
#include "media/AudioPlayback.h"
#include "media/BuiltInEngine.h"
#include "media/CursorData.h"
#include "media/MediaStartup.h"
#include "media/MidiPlayer.h"

#include <mmsystem.h>

using namespace orb;
using namespace std::chrono_literals;

namespace {

std::string tempFolder() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

// The names of our temporary files now in the temporary folder.
std::set<std::string> orbTempFiles() {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((tempFolder() + "orb*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<uint8_t> fixture(const std::string& name) {
    std::ifstream in(std::string(ORB_AUDIO_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A one-track MIDI file: a second of middle C.
std::vector<uint8_t> midiFile() {
    // A track name first: the file must be long enough to be told apart from other data.
    std::vector<uint8_t> track = {0x00, 0xFF, 0x03, 0x09, 'm', 'e', 'd', 'i', 'a', ' ', 't', 'e', 's', 't',
                                  0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x60, 0x83, 0x60, 0x80, 0x3C, 0x00,
                                  0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
    const uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0,
                              static_cast<uint8_t>(track.size())};
    track.insert(track.begin(), std::begin(header), std::end(header));
    return track;
}

}  // namespace

// --- the built-in engine ---------------------------------------------------

struct EngineCase {
    const wchar_t* resource;
    bool loads;
};

class BuiltInEngineExtraction : public ::testing::TestWithParam<EngineCase> {};

TEST_P(BuiltInEngineExtraction, LoadsOnlyTheEngineAndAlwaysDeletesItsFile) {
    const EngineCase c = GetParam();
    const std::set<std::string> before = orbTempFiles();
    std::string path;
    {
        BuiltInEngine engine(GetModuleHandleW(nullptr), c.resource);
        path = engine.libraryPath();
        EXPECT_EQ(BuiltInEngine::current(), &engine);
        EXPECT_EQ(engine.loaded(), c.loads);
        EXPECT_TRUE(fileExists(path)) << path;
        std::string name = std::filesystem::path(path).filename().string();
        EXPECT_EQ(name.substr(0, 3), "orb");
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
        EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(tempFolder()).parent_path());
        // Stop with nothing playing does nothing; a library that did not load is never called.
        engine.stop();
        EXPECT_FALSE(engine.isPlaying());
    }
    EXPECT_EQ(BuiltInEngine::current(), nullptr);
    EXPECT_FALSE(fileExists(path)) << path;
    EXPECT_EQ(orbTempFiles(), before);
}

INSTANTIATE_TEST_SUITE_P(Resources, BuiltInEngineExtraction,
                         ::testing::Values(EngineCase{L"BINP", true}, EngineCase{L"NOTDLL", false},
                                           EngineCase{L"NOEXPORTS", false}),
                         [](const auto& info) {
                             return std::string(info.param.resource, info.param.resource + wcslen(info.param.resource));
                         });

TEST(BuiltInEngine, AMissingResourceIsAnErrorAndLeavesNoFile) {
    const std::set<std::string> before = orbTempFiles();
    EXPECT_THROW(BuiltInEngine(GetModuleHandleW(nullptr), L"NOSUCHRESOURCE"), std::exception);
    EXPECT_EQ(BuiltInEngine::current(), nullptr);
    EXPECT_EQ(orbTempFiles(), before);
}

// --- the audio library binding --------------------------------------------

TEST(AudiereLibrary, AvailableOnlyWithAllTwentyTwoNames) {
    struct Case {
        const char* name;
        std::wstring file;
        bool available;
    };
    auto wide = [](const char* s) { return std::wstring(s, s + strlen(s)); };
    for (const Case& c : {Case{"ours", wide(ORB_AUDIERE_DLL), true},
                          Case{"one name short", wide(ORB_AUDIERE_INCOMPLETE_DLL), false},
                          Case{"absent", L"Z:\\no\\such\\audiere.dll", false}}) {
        SCOPED_TRACE(c.name);
        AudiereLibrary library;
        library.load(c.file.c_str());
        EXPECT_EQ(library.available(), c.available);
        for (size_t i = 0; i < AudiereLibrary::kEntryCount; ++i) EXPECT_EQ(library.entry(i) != nullptr, c.available);
        // Once present, later loads keep the library that is there.
        library.load(L"Z:\\no\\such\\audiere.dll");
        EXPECT_EQ(library.available(), c.available);
        library.unload();
        EXPECT_FALSE(library.available());
        EXPECT_EQ(library.openDevice("null", ""), nullptr);
    }
}

TEST(AudiereLibrary, TheMusicPlayersEntriesReachTheLibrary) {
    AudiereLibrary library;
    library.load(std::filesystem::path(ORB_AUDIERE_DLL).wstring().c_str());
    ASSERT_TRUE(library.available());
    adr::AudioDevice* device = library.openDevice("null", "");
    ASSERT_NE(device, nullptr);
    std::string tone = std::string(ORB_AUDIO_FIXTURES) + "/tone16.wav";
    adr::SampleSource* source = library.openSampleSource(tone.c_str(), adr::FF_AUTODETECT);
    ASSERT_NE(source, nullptr);
    adr::SampleSource* wideSource =
        library.openSampleSourceW(std::filesystem::path(tone).wstring().c_str(), adr::FF_AUTODETECT);
    ASSERT_NE(wideSource, nullptr);
    EXPECT_EQ(wideSource->getLength(), source->getLength());
    adr::OutputStream* stream = library.openSound(device, source, true);
    ASSERT_NE(stream, nullptr);
    stream->unref();
    wideSource->unref();
    source->unref();
    device->unref();
}

// --- the system's wave player ---------------------------------------------

namespace {
struct PlaySoundCall {
    const void* sound;
    DWORD flags;
};
std::vector<PlaySoundCall> g_playSoundCalls;
BOOL WINAPI recordPlaySound(LPCWSTR sound, HMODULE, DWORD flags) {
    g_playSoundCalls.push_back({sound, flags});
    return TRUE;
}
}  // namespace

TEST(WaveData, PlaysItsOwnBytesFromMemoryWithTheSystemPlayersFlags) {
    g_playSoundCalls.clear();
    SystemMediaPlayers players(&recordPlaySound);
    TWaveData wave, empty;
    std::vector<uint8_t> bytes = fixture("tone16.wav");
    wave.setData(bytes.data(), bytes.size());

    wave.play();
    wave.playSync();
    empty.play();
    empty.playSync();
    empty.stopAll();
    ASSERT_EQ(g_playSoundCalls.size(), 3u);
    EXPECT_EQ(g_playSoundCalls[0].sound, wave.bytes().data());
    EXPECT_EQ(g_playSoundCalls[0].flags, 0x2007u);  // memory, asynchronous, no default sound, no wait
    EXPECT_EQ(g_playSoundCalls[1].sound, wave.bytes().data());
    EXPECT_EQ(g_playSoundCalls[1].flags, 0x2006u);
    EXPECT_EQ(g_playSoundCalls[2].sound, nullptr);  // an empty value still silences the player
    EXPECT_EQ(mediaPlayers(), &players);
}

TEST(WaveData, WithoutTheMediaLayerNothingPlays) {
    {
        g_playSoundCalls.clear();
        SystemMediaPlayers players(&recordPlaySound);
    }
    g_playSoundCalls.clear();
    EXPECT_EQ(mediaPlayers(), nullptr);
    TWaveData wave;
    std::vector<uint8_t> bytes = fixture("tone16.wav");
    wave.setData(bytes.data(), bytes.size());
    wave.play();
    EXPECT_TRUE(g_playSoundCalls.empty());
}

TEST(WaveData, TheRealPlayerAcceptsTheBytesWhereThereIsAnOutput) {
    if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave output device";
    std::vector<uint8_t> bytes = fixture("tone16.wav");
    EXPECT_TRUE(PlaySoundW(reinterpret_cast<LPCWSTR>(bytes.data()), nullptr, kWaveFlagsAsync));
    PlaySoundW(nullptr, nullptr, 0);
}

// --- music through the built-in engine ------------------------------------

class AudioDataPlaying : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = tempFolder() + "orb-media-" + std::to_string(GetCurrentProcessId()) + ".wav";
        _putenv_s("ORB_AUDIO_DEVICE", ("wavfile:" + out_).c_str());
        engine_ = std::make_unique<BuiltInEngine>(GetModuleHandleW(nullptr));
        ASSERT_TRUE(engine_->loaded());
    }
    void TearDown() override {
        engine_.reset();
        _putenv_s("ORB_AUDIO_DEVICE", "");
        DeleteFileA(out_.c_str());
    }
    void fill(TAudioData& data, const std::vector<uint8_t>& bytes) { data.setData(bytes.data(), bytes.size()); }

    std::string out_;
    std::unique_ptr<BuiltInEngine> engine_;
    SystemMediaPlayers players_;
};

TEST_F(AudioDataPlaying, MusicPlaysThroughTheEngineOnceUntilStopped) {
    for (const char* name : {"tone16.wav", "tone.ogg", "tone.mp3"}) {
        SCOPED_TRACE(name);
        TAudioData music;
        fill(music, fixture(name));
        AudioPlayback playback(music);
        playback.play(true);
        EXPECT_TRUE(playback.isPlaying());
        EXPECT_EQ(static_cast<int>(playback.state()), static_cast<int>(music.detectFormat()));
        std::this_thread::sleep_for(300ms);
        playback.play(true);  // still playing: not restarted
        EXPECT_TRUE(playback.isPlaying());
        playback.stop();
        EXPECT_FALSE(playback.isPlaying());
        EXPECT_EQ(playback.state(), AudioState::None);
    }
    tone::Recording heard = tone::readWav16(out_);
    ASSERT_GT(heard.left.size(), 4410u);
    EXPECT_NEAR(tone::frequency(heard.left, heard.rate), 440.0, 5.0);
}

TEST_F(AudioDataPlaying, DataNothingDecodesIsPassedOnAsMpegAudioAndStaysSilent) {
    TAudioData music;
    fill(music, std::vector<uint8_t>(2000, 0));
    music.play(false);
    EXPECT_FALSE(music.isPlaying());
    music.stop();  // a later Stop is harmless
    EXPECT_FALSE(music.isPlaying());
}

TEST_F(AudioDataPlaying, WithoutALoadedEngineCompressedMusicIsSilent) {
    engine_.reset();
    TAudioData music;
    fill(music, fixture("tone16.wav"));
    AudioPlayback playback(music);
    playback.play(false);
    EXPECT_FALSE(playback.isPlaying());
    EXPECT_EQ(playback.state(), AudioState::None);
}

// --- MIDI ------------------------------------------------------------------

TEST(MidiMusic, PlaysFromATemporaryFileThatStopAndDestructionDelete) {
    SystemMediaPlayers players;
    const std::set<std::string> before = orbTempFiles();
    std::string file;
    {
        TAudioData music;
        music.setData(midiFile().data(), midiFile().size());
        ASSERT_EQ(music.detectFormat(), AudioKind::Midi);
        AudioPlayback playback(music);
        playback.play(false);
        EXPECT_EQ(playback.state(), AudioState::Midi);
        file = playback.tempFile();
        EXPECT_EQ(fileBytes(file), midiFile());
        EXPECT_EQ(playback.midiPlayer().fileName, std::filesystem::path(file).wstring());
        playback.stop();
        EXPECT_FALSE(fileExists(file));
        EXPECT_EQ(orbTempFiles(), before);

        playback.play(true);
        file = playback.tempFile();
        EXPECT_TRUE(fileExists(file));
    }
    EXPECT_FALSE(fileExists(file));
    EXPECT_EQ(orbTempFiles(), before);
}

TEST(MidiPlayer, AMissingFileDoesNotPlayAndStopTwiceIsHarmless) {
    TOrbMidiPlayer player;
    player.fileName = L"Z:\\no\\such\\file.mid";
    player.play();
    EXPECT_FALSE(player.isPlaying());
    player.stop();
    player.stop();
    EXPECT_FALSE(player.isPlaying());
}

TEST(MidiPlayer, TheEndNoticeClosesTheDeviceUnlessLooping) {
    std::string path = tempFolder() + "orb-media-test.mid";
    {
        std::ofstream out(path, std::ios::binary);
        auto bytes = midiFile();
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TOrbMidiPlayer player;
    player.fileName = std::filesystem::path(path).wstring();
    player.play();
    if (!player.isPlaying()) {
        DeleteFileA(path.c_str());
        GTEST_SKIP() << "the sequencer did not open here (no wave output device)";
    }
    player.loop = true;
    SendMessageW(player.notifyWindow(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_TRUE(player.isPlaying());
    player.play();  // again from the beginning, with a fresh device
    EXPECT_TRUE(player.isPlaying());
    player.loop = false;
    SendMessageW(player.notifyWindow(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_FALSE(player.isPlaying());
    // A late notice for the closed device, while looping, changes nothing.
    player.loop = true;
    SendMessageW(player.notifyWindow(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_FALSE(player.isPlaying());
    DeleteFileA(path.c_str());
}

// --- cursors ---------------------------------------------------------------

namespace {
// A 32 x 32 monochrome cursor file: an XOR mask with a square, hot spot 3,4.
std::vector<uint8_t> cursorFile() {
    std::vector<uint8_t> f = {0, 0, 2, 0, 1, 0, 32, 32, 2, 0, 3, 0, 4, 0};
    auto le32 = [&f](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t imageSize = 40 + 8 + 128 + 128;
    le32(imageSize);
    le32(22);
    le32(40), le32(32), le32(64);  // header, width, height of both masks
    f.insert(f.end(), {1, 0, 1, 0});
    for (int i = 0; i < 6; ++i) le32(0);
    le32(0), le32(0xFFFFFF);  // palette: black, white
    for (int row = 0; row < 32; ++row) le32(row >= 8 && row < 24 ? 0x00FFFF00 : 0);  // XOR
    for (int row = 0; row < 32; ++row) le32(0);                                      // AND
    return f;
}
}  // namespace

TEST(CursorData, LoadsThroughATemporaryFileThatIsGoneAfterwards) {
    const std::set<std::string> before = orbTempFiles();
    TCursorData good, bad, empty;
    good.setData(cursorFile().data(), cursorFile().size());
    std::string junk(200, 'x');
    bad.setData(reinterpret_cast<const uint8_t*>(junk.data()), junk.size());
    CursorHandle cursor = cursorFromData(good);
    ASSERT_TRUE(cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor.get(), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    EXPECT_FALSE(cursorFromData(bad));
    EXPECT_FALSE(cursorFromData(empty));
    EXPECT_EQ(orbTempFiles(), before);
}

TEST(CursorData, SlotsTakeLoadedCursorsKeepTheirsOnFailureAndResetWhenEmptied) {
    CursorTable table;
    TCursorData good, bad, empty;
    good.setData(cursorFile().data(), cursorFile().size());
    std::string junk(200, 'x');
    bad.setData(reinterpret_cast<const uint8_t*>(junk.data()), junk.size());
    const HCURSOR arrow = table.get(kCursorSlotHot), ibeam = table.get(kCursorSlotEdit);

    fillCursorSlot(table, kCursorSlotHot, good);
    HCURSOR loaded = table.get(kCursorSlotHot);
    EXPECT_NE(loaded, arrow);
    fillCursorSlot(table, kCursorSlotHot, bad);
    EXPECT_EQ(table.get(kCursorSlotHot), loaded);
    fillCursorSlot(table, kCursorSlotHot, empty);
    EXPECT_EQ(table.get(kCursorSlotHot), arrow);

    fillCursorSlot(table, kCursorSlotEdit, good);
    EXPECT_NE(table.get(kCursorSlotEdit), ibeam);
    fillCursorSlot(table, kCursorSlotEdit, empty);
    EXPECT_EQ(table.get(kCursorSlotEdit), ibeam);
}

// --- background music ------------------------------------------------------

TEST_F(AudioDataPlaying, BackgroundMusicStartsAndFollowsActivationOnlyWithAutoMusic) {
    for (bool autoMusic : {true, false}) {
        SCOPED_TRACE(autoMusic ? "AutoMusic" : "no AutoMusic");
        TfrmMain form{nullptr};
        fill(form.startupSound, fixture("tone16.wav"));
        form.autoPlayMusic = true;
        form.loop = true;
        form.autoMusic = autoMusic;
        auto peer = std::make_unique<FormWindow>(form, L"TMediaTest");
        FormWindow* window = peer.get();
        form.setPeer(std::move(peer));
        StartBackgroundMusic(form, *window);
        EXPECT_TRUE(form.startupSound.isPlaying());
        SendMessageW(window->hwnd(), WM_ACTIVATEAPP, FALSE, 0);
        EXPECT_EQ(form.startupSound.isPlaying(), !autoMusic);
        SendMessageW(window->hwnd(), WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_TRUE(form.startupSound.isPlaying());
    }
}

TEST_F(AudioDataPlaying, WithoutAutoPlayNothingStartsAtStartUp) {
    TfrmMain form{nullptr};
    fill(form.startupSound, fixture("tone16.wav"));
    form.autoPlayMusic = false;
    auto peer = std::make_unique<FormWindow>(form, L"TMediaTest");
    FormWindow* window = peer.get();
    form.setPeer(std::move(peer));
    StartBackgroundMusic(form, *window);
    EXPECT_FALSE(form.startupSound.isPlaying());
}
