#include "base/output_set.hpp"

namespace velmorta {

OutputSet OutputSet::InMemory() {
  OutputSet set;
  for (const Output which : kOutputs) set[which] = OutFile::InMemory();
  return set;
}

void OutputSet::CloseAll() {
  for (const Output which : {Output::BottomCopper, Output::TopCopper, Output::Lands1, Output::Lands2,
                             Output::Drill, Output::Outline, Output::HoleDrawing}) {
    (*this)[which].Close();
  }
}

}  // namespace velmorta
