#pragma once
// Setters tell the observer of real changes only.

namespace forms {

// Stores the value; true when it differs from the one it replaces.
template <typename T, typename U>
bool assign(T& field, const U& value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace forms
