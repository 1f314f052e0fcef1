#pragma once

#include <optional>

namespace mivaro {

// The one shape of every dialog of the program: a dialog port receives a copy
// of the values it edits and hands back the edited copy, or nothing when the
// user cancels. The caller decides what to apply.
//
//   std::optional<Values> askSomething(const Values& values);
//
// A dialog whose buttons end it with one of several actions hands back the
// values together with the action code of the button that ended it:
//
//   std::optional<Acted<Values>> askSomething(const Values& values);
template <typename Values>
struct Acted {
    Values values;
    int action = 0;
};

}  // namespace mivaro
