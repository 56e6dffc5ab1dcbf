// What each benchmark figure should be: the aims a program states, printed beside the figures
// it measured, and whether each was met. bench/check-aims runs every program and reads their
// exit codes.
#pragma once

#include <string>
#include <vector>

namespace bench {

/// The aims of one benchmark program and the figures measured for them.
class Aims {
public:
  enum class Bound { AtMost, AtLeast };

  /// Records Figure (in Unit) measured for Name, which should be at most (or at least) Limit.
  void Add(std::string Name, double Figure, Bound Kind, double Limit, std::string Unit);
  /// An aim whose figure was not measured in this run (a filter left its benchmark out).
  void NotRun(std::string Name);

  /// Prints one line an aim (name, figure, aim, "met" or "MISSED") and a summary line, and
  /// answers the program's exit code: 1 when an aim was missed, otherwise 0.
  int Report() const;

private:
  struct Entry {
    std::string Name;
    bool Measured;
    double Figure;
    Bound Kind;
    double Limit;
    std::string Unit;
  };
  std::vector<Entry> FEntries;
};

}  // namespace bench
