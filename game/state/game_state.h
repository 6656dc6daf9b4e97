// The whole program-wide state of mervox as plain data.
//
// Everything the simulation, the title flow and the drawing share lives in
// one `GameState` record. It holds no pointers and no heap objects, so a
// state can be copied, compared and run headless. Subsystems that own
// platform resources (audio devices, decoded images, windows) keep those in
// records of their own and read the fields they need from here.
#pragma once

#include <cstdint>

namespace mervox {

// ---------------------------------------------------------------------------
// Board model
// ---------------------------------------------------------------------------

constexpr int kBoardSize = 7;   // 7 x 7 cells
constexpr int kLayers = 2;      // floor slot and stacked slot
constexpr int kSlotCount = kBoardSize * kBoardSize * kLayers;  // 98

// World units: a cell is 100 x 100 and a block 100 high; the board covers
// x and z in [0, 700).
constexpr float kCellSize = 100.0f;
constexpr float kBlockHeight = 100.0f;
constexpr float kBoardExtent = kCellSize * kBoardSize;
// PlayerX and PlayerZ stay within [20, 680], 20 inside the board's edges.
constexpr float kPlayerLeast = 20.0f;
constexpr float kPlayerMost = kBoardExtent - kPlayerLeast;

enum BlockState : int32_t {
    Empty = 0,
    Solid = 1,
    Vanishing = 2,
    Fading = 3,
};

// One block position; a block moves by copying the whole record.
// A value-initialised slot, BlockSlot{}, is an empty one: no block, no
// chain slot.
struct BlockSlot {
    int32_t state = 0;        // BlockState
    int32_t colour = 0;       // 0..4
    float offsetX = 0.0f;     // slide displacement along x from the cell's rest place
    float height = 0.0f;      // world height of the block's underside
    float offsetZ = 0.0f;     // slide displacement along z
    float slideX = 0.0f;      // kick velocity along x: +8, -8 or 0
    float slideY = 0.0f;      // never non-zero; part of the settled test
    float slideZ = 0.0f;      // kick velocity along z
    int32_t groupSize = 0;    // size of the group found this update
    int32_t groupMark = 0;    // stamp of the grouping pass, index into GroupSizeTable
    int32_t vanishTimer = 0;  // 181 sentinel, 180..1 vanishing; 10..1 fading
    int32_t arriveTimer = 0;  // 60..1 while announced, 0 arrived
    int32_t refillTimer = 0;  // 120..1 after vanishing started
    int32_t popupSize = 0;    // chain pop-up size, counts down
    int32_t popupTimer = 0;   // chain pop-up timer, counts down
    int32_t chainLevel = 0;   // 0 none, 1 starting group, k k-th link
    int32_t chainSlot = -1;   // index into ChainSlots, -1 none
};
static_assert(sizeof(BlockSlot) == 17 * 4, "a slot is seventeen 32-bit words");

struct ChainSlot {
    int32_t chain;  // chain level of the link
    int32_t count;  // blocks in the link
    int32_t timer;  // kChainLinkLife at creation, 0 = free
    int32_t mark;   // groupMark of the starting group (level-1 links)
};
// A link's timer when it is made; the update that made it pays it.
constexpr int32_t kChainLinkLife = 120;

constexpr int kRefillQueueLength = 20;
constexpr int kChainSlotCount = 20;
constexpr int kGroupTableSize = kSlotCount + 1;  // marks run 1..98

// ---------------------------------------------------------------------------
// Camera and grids
// ---------------------------------------------------------------------------

// A camera: the eye position.
struct Camera {
    float x, y, z;
};

// A grid vertex: a world point.
struct Vertex {
    float x, y, z;
};

constexpr float DegToRad = 0.017453292f;

// The background floor: vertex (a, b) of BackgroundGrid lies at
// (300a - 700, y, 300b - 700), at the level -100 when flat.
constexpr float kBackgroundTile = 300.0f;
constexpr float kBackgroundCorner = -700.0f;
constexpr float kBackgroundLevel = -100.0f;

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

enum KeyBit : int32_t {
    KeyLeft = 1,
    KeyUp = 2,
    KeyRight = 4,
    KeyDown = 8,
    KeyKick = 16,   // Z
    KeyJump = 32,   // X
    KeyTurnQ = 64,  // Q
    KeyTurnE = 128, // E
};
constexpr int32_t kArrowBits = KeyLeft | KeyUp | KeyRight | KeyDown;

// PushIntent bits: the block directly ahead that way is armed for a push
// or a kick.
enum PushIntentBit : int32_t {
    IntentPlusX = 1,
    IntentPlusZ = 2,
    IntentMinusX = 4,
    IntentMinusZ = 8,
};

// What runs in the main loop: the title or one of the five kinds of round.
// The values are those the recordings' file names and the attract cycle use.
enum RunModeValue : int32_t {
    RunTitle = 0,
    RunGame = 1,      // played from the keyboard (recorded as the replay)
    RunReplay = 2,    // the last game played back
    RunTutorial = 3,
    RunDemo1 = 4,
    RunDemo2 = 5,
};
constexpr RunModeValue kLastRunMode = RunDemo2;
// The five kinds of round, in the order of their numbers.
constexpr RunModeValue kRoundModes[] = {RunGame, RunReplay, RunTutorial, RunDemo1, RunDemo2};
// The kind of round numbered `number` (1 to 5) on the command line; false
// for any other number.
bool RoundModeOfNumber(int number, RunModeValue& mode);

// Where a round's keys come from.
enum PlaybackValue : int32_t {
    PlaybackOff = 0,  // the player's keys, recorded into InputLog
    PlaybackOn = 1,   // the records of InputLog
};

// How the picture is shown.
enum ScreenModeValue : uint16_t {
    ScreenWindowed = 0,  // a window of 640x480
    ScreenFull640 = 1,   // full screen 640x480
    ScreenFull720 = 2,   // full screen 720x480, the picture 40 pixels from the left
};

// BGMMODE and SEMODE as config.txt keeps them: 0 on, 1 off.
enum SoundSetting : int32_t {
    SoundOn = 0,
    SoundOff = 1,
};

struct InputRecord {
    int32_t frame;  // RoundFrame from which the keys hold
    uint16_t keys;  // key bits, 0..255
};

constexpr int kInputLogLength = 6000;

// ---------------------------------------------------------------------------
// Tutorial captions
// ---------------------------------------------------------------------------

// The caption texts are a constant table (game/tutorial_captions.h); the
// state holds only which one is shown, CaptionIndex.
constexpr int kCaptionCount = 5;

// ---------------------------------------------------------------------------
// Sound-effect numbers
// ---------------------------------------------------------------------------

enum EffectNumber : int {
    EffectPush = 0,
    EffectKick = 1,
    EffectJump = 2,
    EffectExtend = 3,
    EffectTick = 4,
    EffectAdm = 5,
    EffectPrep = 6,
    EffectCnt = 7,
    EffectVan1 = 8,
    EffectVan2 = 9,
    EffectVan3 = 10,
    EffectVan4 = 11,
    EffectVan5 = 12,
};
constexpr int kEffectCount = 13;

// ---------------------------------------------------------------------------
// What one update did
// ---------------------------------------------------------------------------

// A block the player moved: the cell it left and the way it went (one of
// di, dj is +1 or -1, the other 0).
struct BlockMove {
    int32_t i, j, layer;
    int32_t di, dj;
};

// A chain link made in the update, as it is paid at the update's end.
struct LinkMade {
    int32_t chain;  // 1 the starting group, k the k-th link
    int32_t count;  // blocks in the link
};

constexpr int kKicksPerUpdate = 4;  // one for each armed direction

// What happened in the last update of a round, each thing noted once at the
// step where it happens, for whoever follows the round from outside (the
// viewer's timeline, the recording bot, the tests). Every update starts by
// clearing it; the round itself never reads it.
struct UpdateEvents {
    int32_t linkCount;
    LinkMade links[kChainSlotCount];  // in chain-slot order
    int32_t kickCount;
    BlockMove kicks[kKicksPerUpdate];  // in the order the kicks went
    BlockMove push;                    // the block pushed, when `pushed`
    uint8_t pushed;
    uint8_t levelUp;        // Level rose in this update
    uint8_t turnStarted;    // a board turn began
    uint8_t landedOnBlock;  // the player came down onto a block's top
};

// ---------------------------------------------------------------------------
// The program-wide record
// ---------------------------------------------------------------------------

// Everything the title, the rounds and the main loop change as they run:
// the whole state but the recording. A copy of it is a snapshot of a round
// (app/viewer/seek_snapshots.h), so a field added here is carried by every
// seek and rewind.
struct SimulatedState {
    // --- main loop -------------------------------------------------------
    RunModeValue RunMode;
    int32_t QuitRequested;
    int32_t FrameSkip;        // 1..10
    int32_t FramePhase;
    uint16_t FastForward;
    uint32_t FramesPerSecond;
    ScreenModeValue ScreenMode;

    // --- settings ----------------------------------------------------------
    int32_t BGMMODE;          // music: SoundOn or SoundOff
    int32_t SEMODE;           // effects and voice clips: SoundOn or SoundOff

    // --- high scores -------------------------------------------------------
    uint32_t HighScores[3];   // best first

    // --- board ---------------------------------------------------------------
    BlockSlot Board[kBoardSize][kBoardSize][kLayers];  // [i][j][layer]
    int32_t RefillQueue[kRefillQueueLength];
    ChainSlot ChainSlots[kChainSlotCount];
    int32_t LastChainSlot;
    int32_t GroupSizeTable[kGroupTableSize];
    int32_t MarkCounter;
    int32_t BlockCount;
    int32_t ColourCounts[5];

    // --- player --------------------------------------------------------------
    float PlayerX, PlayerY, PlayerZ, PlayerVelY;
    int32_t PushIntent;       // PushIntentBit set
    uint8_t Pushing;
    // A key has been acted on and must be released first: in a round an
    // arrow (a push needs the arrow pressed afresh), on the title F, B or S.
    // One byte for both, so the title's start clears the round's latch and
    // a round that ends with an arrow latched holds F, B and S on the title
    // until every key is let go.
    uint8_t KeyLatch;

    // --- round counters ------------------------------------------------------
    int32_t TimeLeft;
    int32_t ShownTime;
    int32_t ReadyCountdown;
    int32_t FadeLevel;
    int32_t PlayFrames;
    int32_t RoundFrame;
    int32_t Level;
    int32_t ColourCount;
    int32_t LevelQuota;
    int32_t BlockCap;
    int32_t SupplyInterval;
    int32_t SupplyCountdown;
    int32_t IdleTimer;
    int32_t BlocksCleared;
    uint32_t Score;
    uint32_t ShownScore;
    int32_t LevelUpFlash;
    uint16_t EscHold;
    int32_t CaptionIndex;

    // --- board turn and camera --------------------------------------------
    float ViewAngle;          // degrees, within [-45, 45]
    int32_t TurnSpeed;        // +2, -2 or 0
    float CameraPitch;        // degrees
    float CameraPitchRad;
    float ViewAngleRad;
    Camera ViewCamera;        // x, y, z are CameraX, CameraY, CameraZ
    Camera DrawCamera;
    Vertex BoardGrid[8][8];
    Vertex BackgroundGrid[8][8];

    // --- input ----------------------------------------------------------------
    int32_t KeysNow;
    int32_t KeysPrev;
    PlaybackValue Playback;
    int32_t InputLogIndex;    // the next record of InputLog to play or to write

    // --- random generator --------------------------------------------------
    uint32_t RandomState;

    // --- sound-effect guards -----------------------------------------------
    int32_t EffectCooldown[kEffectCount];

    // --- what the last update did ------------------------------------------
    UpdateEvents Events;

    // --- title ---------------------------------------------------------------
    int32_t AttractTimer;     // title updates since its reset; a demonstration starts at 3600
    uint8_t StartRequested;
    uint16_t DemoIndex;
    uint8_t ReplayAvailable;
    uint16_t SwingPhase;
    uint16_t SpinDirection;

    // --- keys to be let go -------------------------------------------------
    // HostKeyBit of each key that must be up before the title or the round
    // runs its next update: the key that started a game (it must not be the
    // round's first input), the keys that skipped a round's end and the
    // Escape that left a practice round (they must not act on the title).
    uint16_t KeysToRelease;
};

// The program-wide record: the simulated state and beside it the round's
// recording, every key change of a keyboard round as the round writes it
// or those a played-back round plays. The recording is not simulated
// state: a played-back round only reads it, and a practice round brought
// back to an earlier frame needs only where it stands in the log
// (InputLogIndex, simulated state): the records after that are written
// over and never saved.
struct GameState : SimulatedState {
    InputRecord InputLog[kInputLogLength];
};

inline bool PlaysBack(const GameState& g) { return g.Playback != PlaybackOff; }

// Sets every field to its value at program start (before any scene reset):
// title mode, one drawn frame per update, playback on, the title's start
// camera and an empty input log.
void InitProgramState(GameState& g);

}  // namespace mervox
