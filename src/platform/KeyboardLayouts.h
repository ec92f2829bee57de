#pragma once
// The keyboard layouts the user has installed, asked what a key gives.
#include <vector>

#include "platform/Desktop.h"

namespace corvane {

class IKeyboardLayouts {
public:
    virtual ~IKeyboardLayouts() = default;
    // What the key gives with these modifiers on each installed layout,
    // leaving their dead-key state alone; empty when none can be asked.
    [[nodiscard]] virtual std::vector<TKeyTranslation> TranslateOnEach(
        int virtualKey, const TModifiers& modifiers) const = 0;
};

} // namespace corvane
