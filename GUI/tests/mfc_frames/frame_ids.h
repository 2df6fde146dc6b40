// Ids of the frame tests' resources (shared by the resource script and the tests).
#pragma once
#define IDR_PROBE_FRAME 128
#define IDR_PROBE_TOOLBAR 130
#define IDR_PROBE_MDI 140
#define IDR_NO_MENU 150
#define ID_PROBE_ALPHA 100
#define ID_PROBE_BETA 101
#define ID_PROBE_GAMMA 102
#define ID_PROBE_APP 103
