#pragma once

// The base of a register window: the refreshing flag that keeps a refresh from writing back what it shows,
// and the window's field table guarded by it. A window adds its rows in its constructor and keeps only what
// is its own.

#include "shell/register_window.h"

#include "platform/ui/form.h"

#include <QString>

namespace regwin {

class RegisterWindow : public ui::Form {
public:
    const FieldTable& fields() const { return fields_; }

protected:
    explicit RegisterWindow(const QString& name) : ui::Form(name) {}

    bool bRefreshing_ = false;
    FieldTable fields_{bRefreshing_};
};

} // namespace regwin
