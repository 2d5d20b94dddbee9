// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "solver.h"
#include "task_presets.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class MoveLog;

// The map of a task. The liquid S = L1 + L2 + L3 never changes, so a
// position is fixed by two levels (V1, V2), with V3 = S - V1 - V2. Drawn at
// x = V1 + V2 / 2, y = (√3 / 2) V2, the lines of equal V1, of equal V2 and
// of equal V3 run in three directions at 60°, one unit apart along each, and
// the possible positions fill the polygon 0 <= Vn <= Cn. A pour keeps the
// third vessel's level, so it runs along that vessel's line to the edge.

using MapLevels = std::array<int, 3>;

inline constexpr double kRowHeight = 0.86602540378443864676; // √3 / 2

// A point of the plane the map is drawn in (y up).
struct MapPoint {
    double X = 0;
    double Y = 0;
    friend bool operator==(const MapPoint &, const MapPoint &) = default;
};

// Where the position with these two levels lies.
constexpr MapPoint Embed(int v1, int v2)
{
    return {v1 + v2 / 2.0, kRowHeight * v2};
}
constexpr MapPoint Embed(const MapLevels &levels)
{
    return Embed(levels[0], levels[1]);
}

// A piece of a line of the lattice, from one position to another.
struct MapSegment {
    MapLevels From{};
    MapLevels To{};
    friend bool operator==(const MapSegment &, const MapSegment &) = default;
};

// One row of the player's path: its index in the log and its levels.
struct PathVertex {
    int Row = 0;
    MapLevels Levels{};
    friend bool operator==(const PathVertex &, const PathVertex &) = default;
};
// Consecutive rows on the polygon; a row off it ends one run.
using PathRun = std::vector<PathVertex>;

class PourMap {
public:
    // The task's capacities, its levels as the start and its target. Same
    // needs as Solve: throws std::invalid_argument for values it refuses.
    explicit PourMap(const TaskPreset &task);

    const TaskPreset &Task() const { return m_task; }
    int Total() const { return m_total; }
    MapLevels Start() const { return {m_task.Level[0], m_task.Level[1], m_task.Level[2]}; }

    // Whether these are levels of this task: none below 0 or above its
    // capacity, and together the task's liquid.
    bool OnPolygon(const MapLevels &levels) const;

    // The polygon's corners, counter-clockwise from the lowest, leftmost one:
    // three to six for a polygon, two for a segment (a zero capacity), one
    // for a point (no liquid, or every vessel full).
    const std::vector<MapLevels> &Corners() const { return m_corners; }
    // The least and greatest x and y of the corners.
    MapPoint Low() const { return m_low; }
    MapPoint High() const { return m_high; }

    // The positions where vessel n (1..3) holds `value`, which lie on one
    // line; none when no position of the task has it.
    std::optional<MapSegment> LineOfEqual(int n, int value) const;

    // Every position pours reach from the start, with the fewest pours to it
    // and whether a pour into it meets the goal.
    const std::vector<ReachedPosition> &Reachable() const { return m_reachable; }
    // The reached position with these levels, or null.
    const ReachedPosition *Find(const MapLevels &levels) const;
    // One shortest solution from the start, as the solver finds it.
    const Solution &Shortest() const { return m_shortest; }
    // The start and the position after each pour of Shortest().
    std::vector<MapLevels> ShortestPath() const;

private:
    TaskPreset m_task;
    int m_total = 0;
    std::vector<MapLevels> m_corners;
    MapPoint m_low;
    MapPoint m_high;
    std::vector<ReachedPosition> m_reachable;
    Solution m_shortest;
};

// The player's path over the map: each row on the polygon, in runs of
// consecutive rows. A row that is no levels (nullopt) or not on this
// polygon is left out and ends the run before it.
std::vector<PathRun> MapPath(const PourMap &map, const std::vector<std::optional<MapLevels>> &rows);

// The log's rows as levels; a row whose text is no value 0..999 is nullopt.
std::vector<std::optional<MapLevels>> LoggedLevels(const MoveLog &log);
// One of them. 0 <= row < log.RowCount()
std::optional<MapLevels> LoggedLevels(const MoveLog &log, int row);

// The map in words, for a screen reader and under the map: where the start
// and the path are and where the game stands now ("Путь: 5 переливаний,
// сейчас V1 = 5, V2 = 7, V3 = 0."). Outside a lesson also how many positions
// can be reached and, when it is shown, the shortest solution's length.
std::string MapDescription(const PourMap &map, const std::vector<std::optional<MapLevels>> &rows, bool lesson,
                           bool shortest);

// How a map sits in a rectangle: its points scaled alike in x and y (y
// turned downwards) and centred. Any rectangle and any map, a single point
// included, gives a finite scale.
struct MapFit {
    double Scale = 1; // rectangle units for one unit of the map
    double Left = 0; // where x = 0 lands
    double Top = 0; // where y = 0 lands

    // rectangle (left, top, width, height); the margins kept clear at the
    // left and right, and at the top and bottom.
    static MapFit Into(const PourMap &map, double left, double top, double width, double height, double marginX,
                       double marginY);
    static MapFit Into(const PourMap &map, double left, double top, double width, double height, double margin)
    {
        return Into(map, left, top, width, height, margin, margin);
    }
    double X(const MapPoint &p) const { return Left + p.X * Scale; }
    double Y(const MapPoint &p) const { return Top - p.Y * Scale; }
};

// Every how many levels a line of the lattice is drawn so that neighbouring
// lines stand at least `gap` apart when one unit of the map is `scale`
// long (neighbours are √3 / 2 units apart). At least 1.
int LatticeStep(double scale, double gap);
