#pragma once
#define IDD_OUTER 1001
#define IDD_PAGE 1002
#define IDC_FIRST 2001
#define IDC_SECOND 2002
#define IDC_THIRD 2003
