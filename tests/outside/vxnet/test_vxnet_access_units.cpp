// Pictures joined from the pieces an RTP H.264 depacketizer hands over: one
// picture per timestamp whatever the pieces (whole units, fragments,
// aggregates), parameter sets sent ahead with a time of their own kept with
// their picture, and the pictures that decode on their own found as the
// parser finds them (IDR, or a recovery point message).

#include "outside/vxnet/AccessUnits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vxnet::AccessUnit;
using vxnet::AccessUnitJoiner;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes unit(uint8_t header, Bytes body = {0x88, 0x84, 0x21})
{
    Bytes b = {0, 0, 0, 1, header};
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kSps = unit(0x67, {0x42, 0xc0, 0x28});
const Bytes kPps = unit(0x68, {0xce, 0x3c, 0x80});
const Bytes kIdr = unit(0x65);
const Bytes kSlice = unit(0x41);
const Bytes kFuPart = {0x9a, 0x0b, 0x00, 0x00, 0x03, 0x01, 0x7f};  // a fragment's middle: no start code
// SEI with a recovery point message (type 6, 2 bytes), as on the wire.
const Bytes kSeiRecovery = unit(0x06, {0x06, 0x02, 0x84, 0x40, 0x80});
// SEI with only a picture timing message (type 1).
const Bytes kSeiTiming = unit(0x06, {0x01, 0x02, 0x00, 0x10, 0x80});

struct Piece {
    Bytes data;
    int64_t pts;
};

struct Picture {
    Bytes data;
    int64_t pts;
    bool key;
};

std::vector<Picture> join(const std::vector<Piece>& pieces)
{
    std::vector<Picture> out;
    AccessUnitJoiner j;
    auto sink = [&](const AccessUnit& au) { out.push_back({Bytes(au.data, au.data + au.size), au.pts, au.key}); };
    for (const auto& p : pieces)
        j.add(p.data.data(), int(p.data.size()), p.pts, sink);
    j.flush(sink);
    return out;
}

TEST(AccessUnitJoiner, OnePicturePerTimestampWithItsKey)
{
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<Picture> expected;
    };
    const std::vector<Case> cases = {
        {"aggregate of parameter sets, fragmented IDR, then a whole slice",
         {{concat({kSps, kPps}), 0}, {kIdr, 0}, {kFuPart, 0}, {kFuPart, 0}, {kSlice, 3600}},
         {{concat({kSps, kPps, kIdr, kFuPart, kFuPart}), 0, true}, {kSlice, 3600, false}}},
        {"parameter sets sent with a time of their own stay with their picture",
         {{kSlice, 0}, {kSps, 3000}, {kPps, 3000}, {kIdr, 3600}, {kSlice, 7200}},
         {{kSlice, 0, false}, {concat({kSps, kPps, kIdr}), 3600, true}, {kSlice, 7200, false}}},
        {"a recovery point makes a start; other SEI does not",
         {{kSeiRecovery, 0}, {kSlice, 0}, {kSeiTiming, 3600}, {kSlice, 3600}},
         {{concat({kSeiRecovery, kSlice}), 0, true}, {concat({kSeiTiming, kSlice}), 3600, false}}},
        {"slices of one picture in several pieces",
         {{kIdr, 0}, {kIdr, 0}, {kSlice, 3600}, {kFuPart, 3600}, {kSlice, 3600}},
         {{concat({kIdr, kIdr}), 0, true}, {concat({kSlice, kFuPart, kSlice}), 3600, false}}},
        {"an aggregate of an SEI and an IDR slice",
         {{concat({kSeiTiming, kIdr}), 0}, {kSlice, 3600}},
         {{concat({kSeiTiming, kIdr}), 0, true}, {kSlice, 3600, false}}},
        {"a fragment whose bytes hold no start code is not read as a unit",
         {{kSlice, 0}, {{0x65, 0x00, 0x00, 0x03, 0x00, 0x00, 0x03}, 0}},
         {{concat({kSlice, {0x65, 0x00, 0x00, 0x03, 0x00, 0x00, 0x03}}), 0, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = join(c.pieces);
        ASSERT_EQ(got.size(), c.expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE("picture " + std::to_string(i));
            EXPECT_EQ(got[i].data, c.expected[i].data);
            EXPECT_EQ(got[i].pts, c.expected[i].pts);
            EXPECT_EQ(got[i].key, c.expected[i].key);
        }
    }
}

TEST(AccessUnitJoiner, NothingIsLostOrHeldWithoutBound)
{
    // Every byte handed in comes out once, and a picture that never ends is
    // given at the size limit instead of growing.
    AccessUnitJoiner j;
    size_t out = 0, pictures = 0, largest = 0;
    auto sink = [&](const AccessUnit& au) {
        out += size_t(au.size);
        ++pictures;
        largest = std::max(largest, size_t(au.size));
    };
    const Bytes big(1 << 20, 0x5a);
    size_t in = 0;
    j.add(kIdr.data(), int(kIdr.size()), 0, sink);
    in += kIdr.size();
    for (int i = 0; i < 40; ++i) {
        j.add(big.data(), int(big.size()), 0, sink);
        in += big.size();
    }
    j.flush(sink);
    EXPECT_EQ(out, in);
    EXPECT_LE(largest, AccessUnitJoiner::kMaxBytes);
    EXPECT_GE(pictures, 3u);

    size_t again = 0;
    j.flush([&](const AccessUnit&) { ++again; });
    EXPECT_EQ(again, 0u);  // a flushed joiner holds nothing
}

TEST(AccessUnitJoiner, RecoveryPointFoundBehindEscapesAndOtherMessages)
{
    struct Case {
        Bytes sei;  // header byte first
        bool recovery;
    };
    const std::vector<Case> cases = {
        {{0x06, 0x06, 0x02, 0x84, 0x40, 0x80}, true},
        {{0x06, 0x01, 0x02, 0x00, 0x10, 0x06, 0x01, 0x84, 0x80}, true},  // behind a timing message
        {{0x06, 0x05, 0x03, 0x00, 0x00, 0x03, 0x01, 0x06, 0x01, 0x84, 0x80}, true},  // escaped bytes in a payload
        {{0x06, 0x01, 0x02, 0x00, 0x10, 0x80}, false},
        {{0x06, 0xff, 0xff}, false},  // cut short
        {{0x06}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vxnet::seiHasRecoveryPoint(c.sei.data(), int(c.sei.size())), c.recovery);
}

}  // namespace
