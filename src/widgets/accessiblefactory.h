#pragma once

#include <QAccessible>

namespace doorsel {

// Installs `Factory`, which describes one kind of widget to assistive technology, the first time a
// widget of that kind is made; later calls do nothing.
template <QAccessible::InterfaceFactory Factory> void InstallAccessibleFactoryOnce()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace doorsel
