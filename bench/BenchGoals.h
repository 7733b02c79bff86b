// The goal lines every benchmark prints beside its own rows, in one fixed form that
// scripts/bench.sh gathers into the summary table of docs/performance.md:
//   GOAL|<row name>|<figure>|<unit>|<goal text>|<yes, no or ->
// Row names must be unique across the programs and hold no '|'. A figure without a goal of
// its own (Figure) has "-" for goal and verdict.
#pragma once

#include <cstdio>

namespace BenchGoals {

inline void Line(const char* Row, double Figure, const char* Unit, const char* Goal, const char* Verdict) {
  std::printf("GOAL|%s|%.3f|%s|%s|%s\n", Row, Figure, Unit, Goal, Verdict);
  std::fflush(stdout);
}

inline void Print(const char* Row, double Figure, const char* Unit, const char* Goal, bool Met) {
  Line(Row, Figure, Unit, Goal, Met ? "yes" : "no");
}

// A figure the summary shows beside the goals, with no goal of its own.
inline void Figure(const char* Row, double Figure, const char* Unit) { Line(Row, Figure, Unit, "-", "-"); }

// The figure must not exceed Limit.
inline void AtMost(const char* Row, double Figure, const char* Unit, double Limit) {
  char goal[64];
  std::snprintf(goal, sizeof goal, "<= %g %s", Limit, Unit);
  Print(Row, Figure, Unit, goal, Figure <= Limit);
}

// The figure must stay under Limit.
inline void Below(const char* Row, double Figure, const char* Unit, double Limit) {
  char goal[64];
  std::snprintf(goal, sizeof goal, "< %g %s", Limit, Unit);
  Print(Row, Figure, Unit, goal, Figure < Limit);
}

// The figure must reach Limit.
inline void AtLeast(const char* Row, double Figure, const char* Unit, double Limit) {
  char goal[64];
  std::snprintf(goal, sizeof goal, ">= %g %s", Limit, Unit);
  Print(Row, Figure, Unit, goal, Figure >= Limit);
}

}  // namespace BenchGoals
