// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The map of a task against coordinates worked out by hand in the plane
// x = V1 + V2/2, y = (√3/2) V2, where √3/2 = 0.8660254.
#include "model_fixture.h"
#include "move_log.h"
#include "pour_map.h"
#include "rules.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>

namespace {

constexpr double kNear = 1e-6;

struct Xy {
    double X;
    double Y;
};

void ExpectAt(const MapLevels &levels, Xy expected, const std::string &what)
{
    const MapPoint p = Embed(levels);
    EXPECT_NEAR(p.X, expected.X, kNear) << what;
    EXPECT_NEAR(p.Y, expected.Y, kNear) << what;
}

std::string Name(const MapLevels &l)
{
    return std::to_string(l[0]) + " " + std::to_string(l[1]) + " " + std::to_string(l[2]);
}

// The distance from p to the segment a-b, in the plane.
double DistanceToSegment(MapPoint p, MapPoint a, MapPoint b)
{
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length = dx * dx + dy * dy;
    const double t = length > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

double DistanceToOutline(const PourMap &map, const MapLevels &levels)
{
    const auto &corners = map.Corners();
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < corners.size(); ++i)
        best = std::min(best, DistanceToSegment(Embed(levels), Embed(corners[i]),
                                                Embed(corners[(i + 1) % corners.size()])));
    return best;
}

// --- the polygon's corners ---------------------------------------------------

struct CornerCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    std::vector<MapLevels> Corners;
    std::vector<Xy> Points;
};

class Corners : public testing::TestWithParam<CornerCase> { };

TEST_P(Corners, CounterClockwiseFromTheLowestLeftmost)
{
    const CornerCase &c = GetParam();
    const PourMap map(Task(c.Capacities, c.Start, 0));
    ASSERT_EQ(map.Corners(), c.Corners);
    ASSERT_EQ(c.Points.size(), c.Corners.size());
    for (std::size_t i = 0; i < c.Points.size(); ++i)
        ExpectAt(map.Corners()[i], c.Points[i], "corner " + std::to_string(i));
    // Every corner is a position of the task, and the start lies within.
    for (const MapLevels &corner : map.Corners())
        EXPECT_TRUE(map.OnPolygon(corner)) << Name(corner);
    EXPECT_TRUE(map.OnPolygon(map.Start()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Corners,
    testing::Values(
        // 7 <= V1 + V2 <= 12, V2 <= 7: a parallelogram.
        CornerCase{"Milk", {12, 7, 5}, {12, 0, 0},
                   {{7, 0, 5}, {12, 0, 0}, {5, 7, 0}, {0, 7, 5}},
                   {{7, 0}, {12, 0}, {8.5, 6.0621778}, {3.5, 6.0621778}}},
        CornerCase{"Kvass", {8, 5, 3}, {8, 0, 0},
                   {{5, 0, 3}, {8, 0, 0}, {3, 5, 0}, {0, 5, 3}},
                   {{5, 0}, {8, 0}, {5.5, 4.3301270}, {2.5, 4.3301270}}},
        // 3 <= V1 + V2 <= 9 cuts two corners off the square: six.
        CornerCase{"Hexagon", {6, 6, 6}, {3, 3, 3},
                   {{3, 0, 6}, {6, 0, 3}, {6, 3, 0}, {3, 6, 0}, {0, 6, 3}, {0, 3, 6}},
                   {{3, 0}, {6, 0}, {7.5, 2.5980762}, {6, 5.1961524}, {3, 5.1961524}, {1.5, 2.5980762}}},
        CornerCase{"Pentagon", {5, 4, 3}, {5, 2, 0},
                   {{4, 0, 3}, {5, 0, 2}, {5, 2, 0}, {3, 4, 0}, {0, 4, 3}},
                   {{4, 0}, {5, 0}, {6, 1.7320508}, {5, 3.4641016}, {2, 3.4641016}}},
        CornerCase{"Triangle", {4, 4, 4}, {4, 0, 0},
                   {{0, 0, 4}, {4, 0, 0}, {0, 4, 0}},
                   {{0, 0}, {4, 0}, {2, 3.4641016}}},
        // V3 = 0 always: the line V1 + V2 = 3.
        CornerCase{"SegmentThirdVesselZero", {5, 3, 0}, {2, 1, 0},
                   {{3, 0, 0}, {0, 3, 0}},
                   {{3, 0}, {1.5, 2.5980762}}},
        CornerCase{"SegmentFirstVesselZero", {0, 5, 3}, {0, 4, 1},
                   {{0, 2, 3}, {0, 5, 0}},
                   {{1, 1.7320508}, {2.5, 4.3301270}}},
        CornerCase{"PointNoLiquid", {4, 5, 6}, {0, 0, 0}, {{0, 0, 0}}, {{0, 0}}},
        CornerCase{"PointAllFull", {4, 5, 6}, {4, 5, 6}, {{4, 5, 6}}, {{6.5, 4.3301270}}},
        CornerCase{"PointTwoZeroCapacities", {0, 0, 7}, {0, 0, 7}, {{0, 0, 7}}, {{0, 0}}},
        CornerCase{"AllZero", {0, 0, 0}, {0, 0, 0}, {{0, 0, 0}}, {{0, 0}}},
        CornerCase{"Largest_999_500_499", {999, 500, 499}, {999, 0, 0},
                   {{500, 0, 499}, {999, 0, 0}, {499, 500, 0}, {0, 500, 499}},
                   {{500, 0}, {999, 0}, {749, 433.0127019}, {250, 433.0127019}}},
        CornerCase{"Largest_999_999_999", {999, 999, 999}, {999, 999, 0},
                   {{999, 0, 999}, {999, 999, 0}, {0, 999, 999}},
                   {{999, 0}, {1498.5, 865.1593784}, {499.5, 865.1593784}}}),
    [](const testing::TestParamInfo<CornerCase> &info) { return info.param.Name; });

// --- the positions pours reach -------------------------------------------------

struct Reach {
    MapLevels Levels;
    int Pours;
    bool Winning;
    Xy At;
};

struct ReachCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    int Target;
    std::vector<Reach> Expected;
};

class ReachablePositions : public testing::TestWithParam<ReachCase> { };

TEST_P(ReachablePositions, EachWithItsDistanceAndWhereItIsDrawn)
{
    const ReachCase &c = GetParam();
    const PourMap map(Task(c.Capacities, c.Start, c.Target));
    const auto &reached = map.Reachable();
    ASSERT_EQ(reached.size(), c.Expected.size());
    EXPECT_EQ(reached.front().Levels, map.Start());
    std::set<MapLevels> seen;
    for (std::size_t i = 0; i < reached.size(); ++i) {
        seen.insert(reached[i].Levels);
        if (i > 0) {
            EXPECT_LE(reached[i - 1].Pours, reached[i].Pours) << "fewest pours first";
        }
    }
    EXPECT_EQ(seen.size(), reached.size()) << "each position once";
    for (const Reach &r : c.Expected) {
        const ReachedPosition *found = map.Find(r.Levels);
        ASSERT_NE(found, nullptr) << Name(r.Levels);
        EXPECT_EQ(found->Pours, r.Pours) << Name(r.Levels);
        EXPECT_EQ(found->Winning, r.Winning) << Name(r.Levels);
        ExpectAt(r.Levels, r.At, Name(r.Levels));
        // After a pour the source is empty or the receiver full: on an edge.
        if (r.Pours > 0) {
            EXPECT_NEAR(DistanceToOutline(map, r.Levels), 0.0, kNear) << Name(r.Levels);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReachablePositions,
    testing::Values(
        ReachCase{"Kvass", {8, 5, 3}, {8, 0, 0}, 4,
                  {{{8, 0, 0}, 0, false, {8, 0}},
                   {{3, 5, 0}, 1, false, {5.5, 4.3301270}},
                   {{5, 0, 3}, 1, false, {5, 0}},
                   {{0, 5, 3}, 2, false, {2.5, 4.3301270}},
                   {{3, 2, 3}, 2, false, {4, 1.7320508}},
                   {{5, 3, 0}, 2, false, {6.5, 2.5980762}},
                   {{6, 2, 0}, 3, false, {7, 1.7320508}},
                   {{2, 3, 3}, 3, false, {3.5, 2.5980762}},
                   {{6, 0, 2}, 4, false, {6, 0}},
                   {{2, 5, 1}, 4, false, {4.5, 4.3301270}},
                   {{1, 5, 2}, 5, false, {3.5, 4.3301270}},
                   {{7, 0, 1}, 5, false, {7, 0}},
                   // 5 -> 3 leaves 4 in the source.
                   {{1, 4, 3}, 6, true, {3, 3.4641016}},
                   {{7, 1, 0}, 6, false, {7.5, 0.8660254}},
                   {{4, 4, 0}, 7, true, {6, 3.4641016}},
                   {{4, 1, 3}, 7, true, {4.5, 0.8660254}}}},
        ReachCase{"Milk", {12, 7, 5}, {12, 0, 0}, 6,
                  {{{12, 0, 0}, 0, false, {12, 0}},
                   {{5, 7, 0}, 1, false, {8.5, 6.0621778}},
                   {{7, 0, 5}, 1, false, {7, 0}},
                   {{0, 7, 5}, 2, false, {3.5, 6.0621778}},
                   {{5, 2, 5}, 2, false, {6, 1.7320508}},
                   {{7, 5, 0}, 2, false, {9.5, 4.3301270}},
                   {{10, 2, 0}, 3, false, {11, 1.7320508}},
                   {{2, 5, 5}, 3, false, {4.5, 4.3301270}},
                   {{10, 0, 2}, 4, false, {10, 0}},
                   {{2, 7, 3}, 4, false, {5.5, 6.0621778}},
                   {{3, 7, 2}, 5, false, {6.5, 6.0621778}},
                   {{9, 0, 3}, 5, false, {9, 0}},
                   {{3, 4, 5}, 6, false, {5, 3.4641016}},
                   {{9, 3, 0}, 6, false, {10.5, 2.5980762}},
                   {{8, 4, 0}, 7, false, {10, 3.4641016}},
                   {{4, 3, 5}, 7, false, {5.5, 2.5980762}},
                   {{8, 0, 4}, 8, false, {8, 0}},
                   {{4, 7, 1}, 8, false, {7.5, 6.0621778}},
                   {{1, 7, 4}, 9, false, {4.5, 6.0621778}},
                   {{11, 0, 1}, 9, false, {11, 0}},
                   {{1, 6, 5}, 10, true, {4, 5.1961524}},
                   {{11, 1, 0}, 10, false, {11.5, 0.8660254}},
                   {{6, 6, 0}, 11, true, {9, 5.1961524}},
                   {{6, 1, 5}, 11, true, {6.5, 0.8660254}}}},
        // The line V1 + V2 = 3: both ends, and back.
        ReachCase{"Segment", {5, 3, 0}, {2, 1, 0}, 3,
                  {{{2, 1, 0}, 0, false, {2.5, 0.8660254}},
                   {{0, 3, 0}, 1, true, {1.5, 2.5980762}},
                   {{3, 0, 0}, 1, true, {3, 0}}}},
        ReachCase{"PointNothingToPour", {4, 5, 6}, {0, 0, 0}, 0, {{{0, 0, 0}, 0, false, {0, 0}}}},
        // A pour back into the start may win: the start counts then.
        ReachCase{"BackToTheStartWins", {5, 3, 0}, {5, 0, 0}, 5,
                  {{{5, 0, 0}, 0, true, {5, 0}}, {{2, 3, 0}, 1, false, {3.5, 2.5980762}}}}),
    [](const testing::TestParamInfo<ReachCase> &info) { return info.param.Name; });

TEST(PourMap, LargestMapEveryPositionAfterAPourOnTheOutline)
{
    const PourMap map(Task({999, 500, 499}, {999, 0, 0}, 749));
    const auto &reached = map.Reachable();
    ASSERT_GT(reached.size(), 1000u);
    // The first pours, by hand: into the 500 and into the 499.
    const ReachedPosition *into2 = map.Find({499, 500, 0});
    const ReachedPosition *into3 = map.Find({500, 0, 499});
    ASSERT_TRUE(into2 && into3);
    EXPECT_EQ(into2->Pours, 1);
    EXPECT_EQ(into3->Pours, 1);
    ExpectAt(into2->Levels, {749, 433.0127019}, "499 500 0");
    ExpectAt(into3->Levels, {500, 0}, "500 0 499");
    int farthest = 0;
    for (const ReachedPosition &p : reached) {
        EXPECT_TRUE(map.OnPolygon(p.Levels));
        if (p.Pours > 0) {
            EXPECT_NEAR(DistanceToOutline(map, p.Levels), 0.0, kNear) << Name(p.Levels);
        }
        farthest = std::max(farthest, p.Pours);
    }
    // The solver's 997 pours end at a winning position, the first one reached.
    ASSERT_EQ(map.Shortest().Pours(), 997);
    const ReachedPosition *end = map.Find(map.ShortestPath().back());
    ASSERT_NE(end, nullptr);
    EXPECT_TRUE(end->Winning);
    EXPECT_EQ(end->Pours, 997);
    for (const ReachedPosition &p : reached)
        EXPECT_FALSE(p.Winning && p.Pours < 997) << Name(p.Levels);
    EXPECT_GE(farthest, 997);
}

// --- paths ---------------------------------------------------------------------

// Consecutive positions of a path differ by one pour: one level unchanged,
// so the step runs along one of the three directions of the lattice.
void ExpectAlongTheLattice(const std::vector<MapLevels> &path)
{
    for (std::size_t i = 1; i < path.size(); ++i) {
        const MapLevels &a = path[i - 1];
        const MapLevels &b = path[i];
        int kept = 0;
        for (std::size_t n = 0; n < 3; ++n)
            kept += a[n] == b[n] ? 1 : 0;
        EXPECT_EQ(kept, 1) << Name(a) << " -> " << Name(b);
        const MapPoint p = Embed(a);
        const MapPoint q = Embed(b);
        const double angle = std::atan2(q.Y - p.Y, q.X - p.X) * 180 / M_PI;
        const double off = std::fmod(std::fabs(angle) + 1e-9, 60.0);
        EXPECT_LT(std::min(off, 60.0 - off), 1e-6) << Name(a) << " -> " << Name(b) << ": " << angle << "°";
    }
}

TEST(PourMap, ShortestPathOfTheMilkTaskByHand)
{
    const PourMap map(Task({12, 7, 5}, {12, 0, 0}, 6));
    const std::vector<MapLevels> expected{{12, 0, 0}, {5, 7, 0}, {5, 2, 5}, {10, 2, 0}, {10, 0, 2}, {3, 7, 2},
                                          {3, 4, 5},  {8, 4, 0}, {8, 0, 4}, {1, 7, 4},  {1, 6, 5}};
    const std::vector<Xy> at{{12, 0},        {8.5, 6.0621778}, {6, 1.7320508}, {11, 1.7320508},
                             {10, 0},        {6.5, 6.0621778}, {5, 3.4641016}, {10, 3.4641016},
                             {8, 0},         {4.5, 6.0621778}, {4, 5.1961524}};
    ASSERT_EQ(map.ShortestPath(), expected);
    for (std::size_t i = 0; i < expected.size(); ++i)
        ExpectAt(expected[i], at[i], "step " + std::to_string(i));
    ExpectAlongTheLattice(expected);
}

TEST(PourMap, ShortestPathOfTheLargestMapRunsAlongTheLattice)
{
    const PourMap map(Task({999, 500, 499}, {999, 0, 0}, 749));
    const std::vector<MapLevels> path = map.ShortestPath();
    ASSERT_EQ(path.size(), 998u);
    ExpectAlongTheLattice(path);
}

TEST(PourMap, NoSolutionNoShortestPath)
{
    const PourMap map(Task({8, 7, 6}, {8, 2, 0}, 5));
    EXPECT_TRUE(map.ShortestPath().empty());
    EXPECT_FALSE(map.Reachable().empty());
}

TEST(PourMap, PathBreaksAtRowsOffThePolygon)
{
    const PourMap map(Task({12, 7, 5}, {12, 0, 0}, 6));
    const std::vector<std::optional<MapLevels>> rows{
        MapLevels{12, 0, 0}, MapLevels{5, 7, 0},  MapLevels{5, 2, 5},
        std::nullopt, // no number
        MapLevels{10, 2, 0}, MapLevels{10, 0, 2},
        MapLevels{13, 0, 0}, // above the capacity, and too much liquid
        MapLevels{3, 7, 2},
        MapLevels{1, 1, 1}, // another amount of liquid
        MapLevels{3, 4, 5}};
    const std::vector<PathRun> runs = MapPath(map, rows);
    const std::vector<PathRun> expected{
        {{0, {12, 0, 0}}, {1, {5, 7, 0}}, {2, {5, 2, 5}}},
        {{4, {10, 2, 0}}, {5, {10, 0, 2}}},
        {{7, {3, 7, 2}}},
        {{9, {3, 4, 5}}}};
    ASSERT_EQ(runs, expected);
    const std::vector<Xy> at{{12, 0}, {8.5, 6.0621778}, {6, 1.7320508}, {11, 1.7320508}, {10, 0},
                             {6.5, 6.0621778}, {5, 3.4641016}};
    std::size_t i = 0;
    for (const PathRun &run : runs) {
        for (const PathVertex &v : run)
            ExpectAt(v.Levels, at[i++], "row " + std::to_string(v.Row));
    }
    EXPECT_TRUE(MapPath(map, {}).empty());
    EXPECT_TRUE(MapPath(map, {std::nullopt, MapLevels{0, 0, 0}}).empty());
}

TEST(PourMap, PathOfADegenerateMap)
{
    const PourMap point(Task({4, 5, 6}, {0, 0, 0}, 1));
    const auto runs = MapPath(point, {MapLevels{0, 0, 0}, MapLevels{0, 0, 0}});
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].size(), 2u);
    ExpectAt(runs[0][1].Levels, {0, 0}, "the one point");
}

TEST(PourMap, LoggedLevelsReadTheRowsAsTheFieldsDo)
{
    MoveLog log;
    log.Append({"0", {"12", "0", "0"}});
    log.Append({"1", {"5", "7", "x"}});
    log.Append({"2", {"$A", " 2", "0"}}); // hex and a leading blank, as a field takes them
    log.Append({"3", {"1000", "0", "0"}});
    const auto rows = LoggedLevels(log);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (MapLevels{12, 0, 0}));
    EXPECT_EQ(rows[1], std::nullopt);
    EXPECT_EQ(rows[2], (MapLevels{10, 2, 0}));
    EXPECT_EQ(rows[3], std::nullopt);
}

// --- lines where a vessel holds a level ------------------------------------------

struct LineCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    int Vessel;
    int Value;
    std::optional<MapSegment> Expected;
};

class LinesOfEqual : public testing::TestWithParam<LineCase> { };

TEST_P(LinesOfEqual, ClippedToThePolygon)
{
    const LineCase &c = GetParam();
    const PourMap map(Task(c.Capacities, c.Start, 0));
    const std::optional<MapSegment> line = map.LineOfEqual(c.Vessel, c.Value);
    ASSERT_EQ(line, c.Expected);
    if (line) {
        EXPECT_TRUE(map.OnPolygon(line->From));
        EXPECT_TRUE(map.OnPolygon(line->To));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LinesOfEqual,
    testing::Values(
        // The milk task's target 6: the winning positions lie on these.
        LineCase{"MilkV1is6", {12, 7, 5}, {12, 0, 0}, 1, 6, MapSegment{{6, 1, 5}, {6, 6, 0}}},
        LineCase{"MilkV2is6", {12, 7, 5}, {12, 0, 0}, 2, 6, MapSegment{{1, 6, 5}, {6, 6, 0}}},
        LineCase{"MilkV3is6AboveItsCapacity", {12, 7, 5}, {12, 0, 0}, 3, 6, std::nullopt},
        LineCase{"KvassV1is4", {8, 5, 3}, {8, 0, 0}, 1, 4, MapSegment{{4, 1, 3}, {4, 4, 0}}},
        LineCase{"KvassV2is4", {8, 5, 3}, {8, 0, 0}, 2, 4, MapSegment{{1, 4, 3}, {4, 4, 0}}},
        LineCase{"HexagonV3is3", {6, 6, 6}, {3, 3, 3}, 3, 3, MapSegment{{0, 6, 3}, {6, 0, 3}}},
        LineCase{"MilkV1isAnEdge", {12, 7, 5}, {12, 0, 0}, 1, 12, MapSegment{{12, 0, 0}, {12, 0, 0}}},
        LineCase{"MoreThanTheLiquid", {12, 7, 5}, {3, 0, 0}, 2, 5, std::nullopt},
        LineCase{"NotAVessel", {12, 7, 5}, {12, 0, 0}, 4, 1, std::nullopt},
        LineCase{"Negative", {12, 7, 5}, {12, 0, 0}, 1, -1, std::nullopt}),
    [](const testing::TestParamInfo<LineCase> &info) { return info.param.Name; });

// --- fitting a map into a rectangle ------------------------------------------------

struct FitCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    double Width;
    double Height;
    double Scale;
};

class Fits : public testing::TestWithParam<FitCase> { };

TEST_P(Fits, CentredInsideTheMargin)
{
    const FitCase &c = GetParam();
    const PourMap map(Task(c.Capacities, c.Start, 0));
    const double margin = 10;
    const MapFit fit = MapFit::Into(map, 5, 7, c.Width, c.Height, margin);
    EXPECT_NEAR(fit.Scale, c.Scale, kNear);
    ASSERT_TRUE(std::isfinite(fit.Left) && std::isfinite(fit.Top));
    if (c.Scale == 0)
        return; // no room inside the margin: all of it at the centre
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const MapLevels &corner : map.Corners()) {
        left = std::min(left, fit.X(Embed(corner)));
        right = std::max(right, fit.X(Embed(corner)));
        top = std::min(top, fit.Y(Embed(corner)));
        bottom = std::max(bottom, fit.Y(Embed(corner)));
    }
    EXPECT_GE(left, 5 + margin - kNear);
    EXPECT_LE(right, 5 + c.Width - margin + kNear);
    EXPECT_GE(top, 7 + margin - kNear);
    EXPECT_LE(bottom, 7 + c.Height - margin + kNear);
    // As much room on one side as on the other.
    EXPECT_NEAR(left - 5, 5 + c.Width - right, kNear);
    EXPECT_NEAR(top - 7, 7 + c.Height - bottom, kNear);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Fits,
    testing::Values(
        // Kvass spans x 2.5..8 and y 0..4.3301270: the width limits.
        FitCase{"KvassWidthLimits", {8, 5, 3}, {8, 0, 0}, 100, 100, 80 / 5.5},
        FitCase{"KvassHeightLimits", {8, 5, 3}, {8, 0, 0}, 300, 100, 80 / 4.3301270},
        // A segment along V2 = 0 has no height: its width alone.
        FitCase{"FlatSegment", {5, 0, 3}, {5, 0, 0}, 100, 50, 80 / 3.0},
        // A point: nothing to scale by, and no division by zero.
        FitCase{"Point", {4, 5, 6}, {0, 0, 0}, 100, 100, 1},
        FitCase{"NoRoomAtAll", {8, 5, 3}, {8, 0, 0}, 10, 10, 0}),
    [](const testing::TestParamInfo<FitCase> &info) { return info.param.Name; });

TEST(PourMap, LatticeStepKeepsLinesApart)
{
    const std::vector<std::tuple<double, double, int>> cases{
        {10, 4, 1}, // 8.66 apart already
        {0.4, 4, 12}, // 0.3464 apart: every 12th, 4.16
        {4 / kRowHeight, 4, 1}, // exactly 4 apart
        {0, 4, kMaxValue + 1}, // no room: no inner line
        {std::nan(""), 4, kMaxValue + 1},
        {1e-9, 4, kMaxValue + 1}};
    for (const auto &[scale, gap, step] : cases)
        EXPECT_EQ(LatticeStep(scale, gap), step) << scale;
}

TEST(PourMap, RefusesWhatTheSolverRefuses)
{
    EXPECT_THROW(PourMap(Task({5, 3, 2}, {6, 0, 0}, 1)), std::invalid_argument);
    EXPECT_THROW(PourMap(Task({1000, 3, 2}, {0, 0, 0}, 1)), std::invalid_argument);
}

} // namespace

namespace {

TEST(PourMap, DescriptionInWords)
{
    const PourMap milk(Task({12, 7, 5}, {12, 0, 0}, 6));
    const std::vector<std::optional<MapLevels>> played{MapLevels{12, 0, 0}, MapLevels{5, 7, 0}, MapLevels{5, 2, 5}};
    EXPECT_EQ(MapDescription(milk, played, true, true),
              "Начало: V1 = 12, V2 = 0, V3 = 0. Путь: 2 переливания, сейчас V1 = 5, V2 = 2, V3 = 5.");
    EXPECT_EQ(MapDescription(milk, played, false, false),
              "Начало: V1 = 12, V2 = 0, V3 = 0. Путь: 2 переливания, сейчас V1 = 5, V2 = 2, V3 = 5. "
              "Достижимых положений: 24, победных: 3.");
    EXPECT_EQ(MapDescription(milk, played, false, true),
              "Начало: V1 = 12, V2 = 0, V3 = 0. Путь: 2 переливания, сейчас V1 = 5, V2 = 2, V3 = 5. "
              "Достижимых положений: 24, победных: 3. Кратчайшее решение: 10 переливаний.");
    EXPECT_EQ(MapDescription(milk, {MapLevels{12, 0, 0}}, true, false),
              "Начало: V1 = 12, V2 = 0, V3 = 0. Переливаний еще не было.");
    EXPECT_EQ(MapDescription(milk, {MapLevels{12, 0, 0}, std::nullopt, MapLevels{1, 1, 1}, MapLevels{5, 7, 0}}, true,
                             false),
              "Начало: V1 = 12, V2 = 0, V3 = 0. Путь: 3 переливания, сейчас V1 = 5, V2 = 7, V3 = 0. "
              "Не на карте 2 строки: путь там прерывается.");
    const PourMap none(Task({8, 7, 6}, {8, 2, 0}, 5));
    EXPECT_EQ(MapDescription(none, {MapLevels{8, 2, 0}}, false, true),
              "Начало: V1 = 8, V2 = 2, V3 = 0. Переливаний еще не было. Достижимых положений: "
                  + std::to_string(none.Reachable().size()) + ", победных: 0. Решения нет.");
}

} // namespace
