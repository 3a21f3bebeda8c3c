#pragma once
// Identifiers of the catalogue's resources (catalogue.rc).
#define IDS_CATALOGUE_URL 3  // address of the catalogue file on the maker's web site
#define IDI_DOWNLOAD 136     // the arrow beside the download hint
#define IDD_WEB_PROGRESS 139
#define IDD_PRODUCT_INFO 141

// Progress window 139.
#define IDC_PROGRESS_BAR 1025
#define IDC_PROGRESS_STATUS 1027
#define IDC_PROGRESS_LOCATION 1028
#define IDC_PROGRESS_TIME_LABEL 1040
#define IDC_PROGRESS_TIME 1041

// Product page 141.
#define IDC_DOWNLOAD_NOW 1020
#define IDC_SCREENSHOT 1033
#define IDC_DESCRIPTION1 1034
#define IDC_DESCRIPTION2 1035
#define IDC_DESCRIPTION3 1036
#define IDC_PRODUCT_TITLE 1037
