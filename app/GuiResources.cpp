#include "app/GuiResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside any namespace; it names the resource
// file's base name.
void InitGuiResources() {
    Q_INIT_RESOURCE(quavermill);
}
