// Resource and command identifiers, shared by the resource script and the code.
#pragma once

#define IDS_APP_TITLE 103
#define IDR_MAIN 109
#define IDD_ABOUTBOX 103
#define IDD_PARAMETERS 130
#define IDD_GOTO 131

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_PARAMETERS 32772
#define IDM_OPEN 32775
#define IDM_SAVE 32776
#define IDM_NEW 32779
#define IDM_UNDO 32780
#define IDM_REDO 32781
#define IDM_TOOL_PEN 32782
#define IDM_TOOL_LINE 32783
#define IDM_TOOL_RECTANGLE 32784
#define IDM_TOOL_FILL 32785
#define IDM_OVERVIEW 32786
#define IDM_GOTO 32787
#define IDM_STATUS_BAR 32788
// The recent files of the File menu, the separators before and after them.
#define IDM_RECENT_SEPARATOR 32798
#define IDM_RECENT_FIRST 32800

#define IDC_NAME 1000
#define IDC_TIME_SA 1001
#define IDC_RATE_SA 1002
#define IDC_SIZE_X 1004
#define IDC_SIZE_Y 1005
#define IDC_TIME_AB 3
#define IDC_RATE_AB 4
#define IDC_GOTO_LINE 1006
#define IDC_GOTO_COLUMN 1007
#define IDC_STATUS_BAR 1008

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
