// Ids of the document/view tests' resources (shared by the resource script and the tests).
#pragma once
#define IDR_PROBE_DOC 128
#define IDR_PLAIN_DOC 129
#define IDD_PROBE_FORM 101
#define IDC_FORM_FIRST 1001
#define IDC_FORM_SECOND 1002
#define IDC_FORM_BUTTON 1003
#define IDH_PROBE_PAGE 1003
#define ID_PROBE_VIEW 200
#define ID_PROBE_DOC 201
#define ID_PROBE_FRAME 202
#define ID_PROBE_APP 203
#define ID_PROBE_BOTH 204
#define ID_PROBE_NOBODY 205
#define ID_PROBE_DISABLED 206
