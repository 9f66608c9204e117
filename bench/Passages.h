// Played passages for the accuracy measurement: scales, arpeggios and chromatic runs of sampled
// instruments, rendered from MIDI, with the truth of every note, and the tables that score each
// pitch tracker's frames on them. scripts/accuracy.sh runs the steps in this order:
//
//   corvane_accuracy --write-passage-midi DIR
//       DIR/passages/<instrument>-<n>ps.mid (n notes a second) and DIR/passages/notes.tsv
//   (fluidsynth renders each to DIR/<rate>/passages/rendered/<file>.wav)
//   corvane_accuracy --prepare-passages DIR RATE...
//       checks the rendering's timing, measures each note's pitch, scales each phrase, and writes
//       DIR/<rate>/passages/<file>.wav with <file>.truth, and files.tsv listing them
//   (scripts/compare-trackers.sh runs every tracker on those files)
//   corvane_accuracy --score-passages DIR RATE...
//       prints the tables
#pragma once

#include <string>
#include <vector>

namespace corvane::accuracy {

int writePassageMidi(const std::string &dir);
int preparePassages(const std::string &dir, const std::vector<int> &rates);
int scorePassages(const std::string &dir, const std::vector<int> &rates);

} // namespace corvane::accuracy
