#include "game/player.h"

#include <algorithm>

#include "game/effects.h"
#include "game/state/board.h"
#include "game/update_events.h"

namespace mervox {

namespace {

constexpr float kWalkStep = 4.0f;
constexpr float kContact = 20.0f;
constexpr float kJumpSpeed = 12.0f;
constexpr float kGravity = 0.6f;
constexpr float kTopLayerHeight = 200.0f;
constexpr float kMovedOffset = 96.0f;
constexpr float kKickSpeed = 8.0f;

int PlayerLayer(const GameState& g) { return CellIndex(g.PlayerY); }

float& Along(GameState& g, const BoardDirection& d) { return AlongX(d) ? g.PlayerX : g.PlayerZ; }

// The player's column (x directions) or row (z directions).
int LineIndex(const GameState& g, const BoardDirection& d) {
    return AlongX(d) ? CellIndex(g.PlayerX) : CellIndex(g.PlayerZ);
}

struct CellRef {
    int i, j;
};

CellRef CellAhead(const GameState& g, const BoardDirection& d) {
    const float step = static_cast<float>(SignOf(d));
    if (AlongX(d))
        return {static_cast<int>(g.PlayerX / kCellSize + step), CellIndex(g.PlayerZ)};
    return {CellIndex(g.PlayerX), static_cast<int>(g.PlayerZ / kCellSize + step)};
}

CellRef CellTwoAhead(const GameState& g, const BoardDirection& d) {
    const CellRef c = CellAhead(g, d);
    return {c.i + d.di, c.j + d.dj};
}

bool WalkAllowed(const GameState& g, const BoardDirection& d) {
    const float p = AlongX(d) ? g.PlayerX : g.PlayerZ;
    return SignOf(d) < 0 ? p - kContact > 0.0f : p + kContact < kBoardExtent;
}

bool AtContact(const GameState& g, const BoardDirection& d) {
    const float p = AlongX(d) ? g.PlayerX : g.PlayerZ;
    return OnCellEdge(p + static_cast<float>(SignOf(d)) * kContact);
}

// The cell two ahead stays on the board (n > 1 going down, n < 5 going up).
bool RoomForTwoAhead(const GameState& g, const BoardDirection& d) {
    const int n = LineIndex(g, d);
    return SignOf(d) < 0 ? n > 1 : n < 5;
}

bool HasCellAhead(const GameState& g, const BoardDirection& d) {
    const int n = LineIndex(g, d);
    return SignOf(d) < 0 ? n != 0 : n != 6;
}

void SetMovedOffset(BlockSlot& s, const BoardDirection& d) {
    const float offset = -static_cast<float>(SignOf(d)) * kMovedOffset;
    if (AlongX(d)) s.offsetX = offset;
    else s.offsetZ = offset;
}

void Jump(GameState& g, const RoundHost& host) {
    if ((g.KeysNow & KeyJump) && g.PlayerVelY == 0.0f && !g.Pushing) {
        PlayEffect(g, host, EffectJump);
        g.PlayerVelY = kJumpSpeed;
    }
}

void Kick(GameState& g, const RoundHost& host) {
    if (!(g.KeysNow & KeyKick) || g.PushIntent == 0 || g.PlayerY >= kTopLayerHeight || g.Pushing ||
        g.ReadyCountdown != 0)
        return;
    for (const BoardDirection& d : kDirectionsByIntent.of) {
        if (!(g.PushIntent & d.intent)) continue;
        if (!RoomForTwoAhead(g, d)) continue;
        const int layer = PlayerLayer(g);
        const CellRef ahead = CellAhead(g, d);
        const CellRef two = CellTwoAhead(g, d);
        BlockSlot* from = SlotAt(g, ahead.i, ahead.j, layer);
        BlockSlot* to = SlotAt(g, two.i, two.j, layer);
        if (to == nullptr || !IsFreeForMovingBlock(*to)) continue;
        if (from == nullptr || from->state == Empty) {
            // Nothing left to kick: the armed direction is simply dropped.
            g.PushIntent &= ~d.intent;
            continue;
        }
        PlayEffect(g, host, EffectKick);
        if (IsArriving(*to)) QueueDisplacedColour(g, to->colour);
        MoveBlock(*from, *to);
        NoteKick(g, BlockMove{ahead.i, ahead.j, layer, d.di, d.dj});
        SetMovedOffset(*to, d);
        if (AlongX(d)) to->slideX = static_cast<float>(SignOf(d)) * kKickSpeed;
        else to->slideZ = static_cast<float>(SignOf(d)) * kKickSpeed;
        g.PushIntent &= ~d.intent;
    }
}

void TurnKeys(GameState& g) {
    const int32_t before = g.TurnSpeed;
    if ((g.KeysNow & KeyTurnQ) && g.TurnSpeed == 0) g.TurnSpeed = 2;
    if ((g.KeysNow & KeyTurnE) && g.TurnSpeed == 0) g.TurnSpeed = -2;
    if (g.TurnSpeed != before) g.Events.turnStarted = 1;
}

void Gravity(GameState& g) {
    const bool moving = g.PlayerVelY != 0.0f;
    bool onBlock = false;
    g.PlayerY += g.PlayerVelY;
    g.PlayerVelY -= kGravity;
    const int cx = CellIndex(g.PlayerX), cz = CellIndex(g.PlayerZ);
    const BlockSlot* upper = SlotAt(g, cx, cz, 1);
    const BlockSlot* lower = SlotAt(g, cx, cz, 0);
    if (upper != nullptr && IsOccupied(*upper) && g.PlayerY <= upper->height + kBlockHeight) {
        g.PlayerY = std::max(upper->height + kBlockHeight, 0.0f);
        g.PlayerVelY = 0.0f;
        if (IsArriving(*upper) && g.PlayerY > kBlockHeight) g.PlayerY = kBlockHeight;
        onBlock = true;
    } else if (lower != nullptr && IsOccupied(*lower) && g.PlayerY <= lower->height + kBlockHeight) {
        g.PlayerY = std::max(lower->height + kBlockHeight, 0.0f);
        g.PlayerVelY = 0.0f;
        onBlock = true;
    } else if (g.PlayerY <= 0.0f) {
        g.PlayerY = 0.0f;
        g.PlayerVelY = 0.0f;
    }
    // Down onto a block's top, not onto one still rising from the floor.
    if (moving && onBlock && g.PlayerY >= kBlockHeight) g.Events.landedOnBlock = 1;
}

// A push: the block ahead (and one stacked on it) moves one cell on.
bool TryPush(GameState& g, const RoundHost& host, const BoardDirection& d) {
    const int layer = PlayerLayer(g);
    const CellRef ahead = CellAhead(g, d);
    const CellRef two = CellTwoAhead(g, d);
    if (g.KeyLatch != 0 || g.PlayerVelY != 0.0f || !OccupiedAt(g, ahead.i, ahead.j, layer) ||
        !InBoard(two.i, two.j) || !FreeForMovingBlockAt(g, two.i, two.j, layer) ||
        g.ReadyCountdown != 0)
        return false;

    BlockSlot& to = g.Board[two.i][two.j][layer];
    if (IsArriving(to)) QueueDisplacedColour(g, to.colour);
    PlayEffect(g, host, EffectPush);
    MoveBlock(g.Board[ahead.i][ahead.j][layer], to);
    NotePush(g, BlockMove{ahead.i, ahead.j, layer, d.di, d.dj});
    SetMovedOffset(to, d);
    g.PushIntent = d.intent;
    g.Pushing = 1;
    if (OccupiedAt(g, ahead.i, ahead.j, 1)) {
        BlockSlot& upperTo = g.Board[two.i][two.j][1];
        if (IsArriving(upperTo)) QueueDisplacedColour(g, upperTo.colour);
        MoveBlock(g.Board[ahead.i][ahead.j][1], upperTo);
        SetMovedOffset(upperTo, d);
    }
    Along(g, d) += static_cast<float>(SignOf(d)) * kWalkStep;
    return true;
}

void Walk(GameState& g, const RoundHost& host) {
    for (const BoardDirection& d : kBoardDirections) {
        if (!(g.KeysNow & d.arrow)) continue;
        if (!WalkAllowed(g, d) || g.Pushing) continue;

        g.PushIntent &= ~d.opposite;
        const bool armed = (g.PushIntent & d.intent) != 0;
        if (armed && g.PlayerY < kTopLayerHeight) {
            TryPush(g, host, d);
        } else {
            const int layer = PlayerLayer(g);
            const CellRef ahead = CellAhead(g, d);
            const bool blocked = HasCellAhead(g, d) && g.PlayerY < kTopLayerHeight &&
                                 SolidInPlayAt(g, ahead.i, ahead.j, layer) && AtContact(g, d);
            if (!blocked) {
                g.PushIntent = 0;
                Along(g, d) += static_cast<float>(SignOf(d)) * kWalkStep;
            } else if (!armed && g.PlayerY < kTopLayerHeight && RoomForTwoAhead(g, d)) {
                const CellRef two = CellTwoAhead(g, d);
                if (InBoard(two.i, two.j) && FreeForMovingBlockAt(g, two.i, two.j, layer))
                    g.PushIntent |= d.intent;
            }
        }

        // An intent sideways is stale once the cell beside the player is empty.
        const int layer = PlayerLayer(g);
        const int cx = CellIndex(g.PlayerX), cz = CellIndex(g.PlayerZ);
        for (const BoardDirection& side : kDirectionsByIntent.of) {
            if (AlongX(side) == AlongX(d) || !(g.PushIntent & side.intent)) continue;
            if (EmptyAt(g, cx + side.di, cz + side.dj, layer)) g.PushIntent &= ~side.intent;
        }
        g.KeyLatch = 1;
    }
}

void ClampPosition(GameState& g) {
    g.PlayerX = std::clamp(g.PlayerX, kPlayerLeast, kPlayerMost);
    g.PlayerZ = std::clamp(g.PlayerZ, kPlayerLeast, kPlayerMost);
}

void PushInProgress(GameState& g) {
    if (!g.Pushing) return;
    for (const BoardDirection& d : kDirectionsByIntent.of) {
        if (!(g.PushIntent & d.intent)) continue;
        float& p = Along(g, d);
        p += static_cast<float>(SignOf(d)) * kWalkStep;
        if (!OnCellEdge(p + static_cast<float>(SignOf(d)) * kContact)) continue;
        g.Pushing = 0;
        g.KeyLatch = 0;
        if (PlayerLayer(g) == 1) {
            const int cx = CellIndex(g.PlayerX), cz = CellIndex(g.PlayerZ);
            if (EmptyAt(g, cx + d.di, cz + d.dj, 0)) g.PushIntent &= ~d.intent;
        }
    }
}

void PushOutOfCorners(GameState& g) {
    if (g.PlayerY >= kTopLayerHeight) return;
    const int layer = PlayerLayer(g);
    if (OccupiedAt(g, CellIndex(g.PlayerX), CellIndex(g.PlayerZ), layer)) return;
    struct Corner {
        float dx, dz;      // offsets of the probe point
        float mx, mz;      // push-out when a block stands there
    };
    // The probe points reach the contact distance back toward -x and -z,
    // and one walking step less toward +x and +z.
    constexpr float kBack = -kContact, kOn = kContact - kWalkStep;
    static constexpr Corner kCorners[4] = {
        {kBack, kBack, kWalkStep, kWalkStep},
        {kBack, kOn, kWalkStep, -kWalkStep},
        {kOn, kBack, -kWalkStep, kWalkStep},
        {kOn, kOn, -kWalkStep, -kWalkStep},
    };
    for (const Corner& c : kCorners) {
        const int i = CellIndex(g.PlayerX + c.dx);
        const int j = CellIndex(g.PlayerZ + c.dz);
        if (SolidInPlayAt(g, i, j, layer)) {
            g.PlayerX += c.mx;
            g.PlayerZ += c.mz;
        }
    }
}

}  // namespace

void UpdatePlayer(GameState& g, const RoundHost& host) {
    Jump(g, host);
    Kick(g, host);
    TurnKeys(g);
    Gravity(g);
    Walk(g, host);
    ClampPosition(g);
    PushInProgress(g);
    PushOutOfCorners(g);
}

}  // namespace mervox
