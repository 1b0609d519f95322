// Control ids of the dialog templates in dialogs.rc; shared by the resource
// compiler and the C++ code. The templates themselves are named by strings.
#ifndef TARVO_APP_RES_DIALOG_IDS_H
#define TARVO_APP_RES_DIALOG_IDS_H

// IDD_PVD: the primary volume descriptor texts.
#define IDC_PVD_DATA_PREPARER   1000
#define IDC_PVD_COPYRIGHT_FILE  1001
#define IDC_PVD_APPLICATION_ID  1002

// DIALOGAUTHOR: the About box.
#define IDC_ABOUT_WEB_SITE_1    427
#define IDC_ABOUT_WEB_SITE_2    428
#define IDC_ABOUT_PRODUCTS      429

// IDD_MAKEDIR: the name of a new directory of the compilation.
#define IDC_MAKEDIR_NAME        2103

#endif
