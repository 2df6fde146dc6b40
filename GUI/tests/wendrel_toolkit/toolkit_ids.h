// Resource ids of the toolkit tests' program (toolkit_test.rc).
#pragma once

#define IDM_TEST_MENU 200
#define IDT_TEST_TOOLBAR 300
#define IDA_TEST_ACCEL 400

#define ID_TEST_OPEN 40001
#define ID_TEST_EXIT 40002
#define ID_TEST_ABOUT 40003
#define ID_TEST_SAVE 40004
#define ID_TEST_NO_STRING 40005

#define IDS_TEST_ENGLISH_ONLY 40020  // in a string block with no German table
#define IDS_TEST_BOTH 40011
#define IDS_TEST_EMPTY 40012
