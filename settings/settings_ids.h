#pragma once
// Resources of the settings pages (settings.rc) and their controls. The numbers are the
// collection's own, shared with its other programs' pages; the page and the dialog are
// separate templates, so 1009 is the page's "Random sequence" and the dialog's "Preview".
#define IDD_SETTINGS_PAGE 133
#define IDD_ABOUT_PAGE 142
#define IDB_PREVIEW 145

#define IDC_ANIMATION_SPEED 1003
#define IDC_VIDEO_MODES 1004
#define IDC_DESKTOP_MODE 1005
#define IDC_RANDOM_SEQUENCE 1009  // "Random sequence": the camera's random start
#define IDC_DEMO_MODE 1022
#define IDC_PAGE_TABS 1039
#define IDC_CAMERA 1053
#define IDC_EVERY_MONITOR 1060  // "Show on every monitor"

// The settings dialog and the sibling's host page.
#define IDD_SETTINGS_DIALOG 102
#define IDB_PRODUCT_STRIP 138
#define IDD_PRODUCT_HOST_PAGE 148
#define IDC_PRODUCT_LIST 1016
#define IDC_PREVIEW 1009
#define IDC_RESTORE_DEFAULTS 1008
#define IDC_START_RANDOM 1021  // "Start random": the collection's random rotation
#define IDC_WEB_UPDATE 1029
#define IDC_PAGE_AREA 1031
