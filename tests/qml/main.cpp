#include <QtQuickTest>

QUICK_TEST_MAIN(scene_controls)
