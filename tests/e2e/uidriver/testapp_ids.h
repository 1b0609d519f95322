#ifndef TARVO_TESTS_E2E_UIDRIVER_TESTAPP_IDS_H
#define TARVO_TESTS_E2E_UIDRIVER_TESTAPP_IDS_H

#define IDC_PRESS         1001
#define IDC_EDIT          1002
#define IDC_COMBO         1003
#define IDC_TAB           1004
#define IDC_CHECK         1005
#define IDC_ASK           1006
#define IDC_BOX_STOP      1007
#define IDC_BOX_WARNING   1008
#define IDC_BOX_INFO      1009
#define IDC_BOX_NONE      1010
#define IDC_DISABLED      1011
#define IDC_TREE          1012
#define IDC_LIST          1013
#define IDC_PRESS_COUNT   1020
#define IDC_COMBO_NOTE    1021
#define IDC_TAB_NOTE      1022
#define IDC_ANSWER_NOTE   1023
#define IDC_TREE_NOTE     1024
#define IDC_EXPAND_NOTE   1025
#define IDC_LIST_NOTE     1026
#define IDC_OPEN_PVD      1030
#define IDC_OPEN_ABOUT    1031
#define IDC_OPEN_MAKEDIR  1032

// The dialog's exit code, so the scenario can tell Quit ended it.
#define TESTAPP_EXIT_CODE 7

#endif
