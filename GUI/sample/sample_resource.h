// Resource ids of the sample program (shared by sample.rc and the code).
#pragma once

#define IDD_SAMPLE_ADD_HOST 100
#define IDC_SAMPLE_HOST_NAME 1001
#define IDC_SAMPLE_HOST_LABEL 1002
