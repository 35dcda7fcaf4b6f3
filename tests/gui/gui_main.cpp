// The GUI test program: the windows are created for real (under Wine and Xvfb in CI).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES |
                                                       ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
