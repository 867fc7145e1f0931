// Resource, control and command ids shared by the program, its resource
// script and the tests that read the compiled resources back.
#pragma once

// Resources
#define IDD_ABOUT               100
#define IDS_ABOUT_MENU_ITEM     101
#define IDD_STATUS              102
#define IDR_MAIN_ICON           128
#define IDB_FACE_FINE           129
#define IDD_SETTINGS            130
#define IDR_STATUS_MENU         131
#define IDD_MONITOR             132
#define IDB_FACE_BUSY           136
#define IDB_FACE_DOWN           137
#define IDB_FACE_CALM           138

// Strings of each language (the About item's is IDS_ABOUT_MENU_ITEM above)
#define IDS_RESOURCE_METER_MISSING 200
#define IDS_SETTINGS_NOT_SAVED  201
#define IDS_FACE_SET_NOT_KEPT   202
#define IDS_DEFAULT_FACE_SET    203
#define IDS_RELEASE_COMPLETE    204
#define IDS_RELEASE_NOT_DONE    205
#define IDS_RELEASE_STOPPED     206
#define IDS_OS_WIN32S           207
#define IDS_OS_UNKNOWN          208
#define IDS_UPTIME_HOURS        209
#define IDS_UPTIME_MINUTES      210
#define IDS_FREE_MEMORY_TEXT    211
#define IDS_HELP_FILE           212
#define IDS_HELP_PAGE           213
#define IDS_FACES_PAGE          214

// Status window controls
#define IDC_CPU_LOAD            1000
#define IDC_CPU_NAME            1001
#define IDC_SYSTEM_RESOURCES    1002
#define IDC_GDI_RESOURCES       1003
#define IDC_USER_RESOURCES      1004
#define IDC_MEMORY_LOAD         1005
#define IDC_PHYSICAL_TOTAL      1006
#define IDC_PHYSICAL_FREE       1007
#define IDC_PAGEFILE_TOTAL      1008
#define IDC_PAGEFILE_FREE       1009
#define IDC_VIRTUAL_TOTAL       1010
#define IDC_VIRTUAL_FREE        1011
#define IDC_FACE                1012
#define IDC_OS_NAME             1013
#define IDC_UPTIME              1014
#define IDC_CPU_LOAD_BAR        1015
#define IDC_SYSTEM_RESOURCE_BAR 1016
#define IDC_GDI_RESOURCE_BAR    1017
#define IDC_USER_RESOURCE_BAR   1018
#define IDC_OS_VERSION          1019
#define IDC_FREE_MEMORY_TEXT    1021
#define IDC_FREE_MEMORY_PERCENT 1022
#define IDC_PHYSICAL_TOTAL_UNIT 1023
#define IDC_UNIT_BYTE           1024
#define IDC_UNIT_KB             1025
#define IDC_UNIT_MB             1026
#define IDC_PHYSICAL_FREE_UNIT  1027
#define IDC_PAGEFILE_TOTAL_UNIT 1028
#define IDC_PAGEFILE_FREE_UNIT  1029
#define IDC_VIRTUAL_TOTAL_UNIT  1030
#define IDC_VIRTUAL_FREE_UNIT   1031
#define IDC_GRAPH               1032
#define IDC_MONITOR             1038
#define IDC_ALWAYS_ON_TOP       1042
#define IDC_FREE_MEMORY_BAR     1043

// Settings dialog controls (ids are per dialog: some repeat the status
// window's)
#define IDC_SETTINGS_UNIT_KB    1027
#define IDC_SETTINGS_UNIT_MB    1028
#define IDC_SETTINGS_UNIT_BYTE  1033
#define IDC_LINE_COLOR          1034
#define IDC_BACKGROUND_COLOR    1035
#define IDC_LINE_SWATCH         1037
#define IDC_BACKGROUND_SWATCH   1038
#define IDC_UNIT_AT_EXIT        1040
#define IDC_FACE_LIST           1041
#define IDC_FACE_PREVIEW        1012

// Monitor window controls: the Back button is IDCANCEL, the graph IDC_GRAPH.

// Commands
#define IDM_ABOUT_SYSCOMMAND    16
#define ID_SETTINGS             32772
#define ID_APP_ABOUT            32773
#define ID_GET_FACES            32774
#define ID_RELEASE_MEMORY       32776
#define ID_APP_EXIT             57665
#define ID_HELP                 57670

// Ids of controls that are only labels
#define IDC_STATIC              (-1)
