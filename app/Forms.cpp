#include "app/Forms.h"

Forms& forms() {
    static Forms windows;
    return windows;
}
