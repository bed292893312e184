#pragma once

#include <QString>

namespace tarvela::catalogs {

// The outcome of checking a window's boxes in order: the first refusal's message and the box
// that takes the focus; an empty message when every box passed.
template <typename Field> struct FieldCheck {
    QString message;
    Field field{};

    bool passed() const { return message.isEmpty(); }
};

} // namespace tarvela::catalogs
