#include "CNote.h"

namespace corvane {

// Out of line so that the class's virtual table has one home.
CNote::~CNote() = default;

} // namespace corvane
