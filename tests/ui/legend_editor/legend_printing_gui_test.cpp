// The legend sheet on paper: the page drawn into a metafile and looked at record by record and
// as a picture, and printed through the editor's Print command on a PostScript printer that
// the test sets up in the prefix (its files are then read by ghostscript, see
// check_printed_sheets.sh).
#include "ui/legend_editor/legend_printing.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstring>

#include "platform/wingui/gdi.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/support/png_writer.h"
#include "tests/ui/legend_editor/legend_test_support.h"
#include "ui/legend_editor/caption_box.h"
#include "ui/legend_editor/legend_editor.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace legendtest;
using testsupport::PumpMessages;

namespace {

constexpr char kPrinter[] = "Orvane Test PostScript";
constexpr char kPort[] = "LPT1:";

// What a metafile holds: its text, and how many records of each kind of drawing.
struct MetafileRecords {
  std::vector<std::wstring> texts;
  int pictures = 0;  // bitmaps drawn
  int lines = 0;     // lines, polygons and paths
};

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  auto* out = reinterpret_cast<MetafileRecords*>(data);
  switch (record->iType) {
    case EMR_EXTTEXTOUTW: {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
      const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
      out->texts.emplace_back(chars, text->emrtext.nChars);
      break;
    }
    case EMR_STRETCHDIBITS:
    case EMR_ALPHABLEND:
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_SETDIBITSTODEVICE:
      ++out->pictures;
      break;
    case EMR_POLYLINE:
    case EMR_POLYLINE16:
    case EMR_POLYGON:
    case EMR_POLYGON16:
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYGON16:
    case EMR_RECTANGLE:
    case EMR_LINETO:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYDRAW:
    case EMR_POLYDRAW16:  // GDI+ draws its outlines so
      ++out->lines;
      break;
  }
  return 1;
}

// A metafile of the page, closed; its records and a picture of it (saved when name is given).
struct RenderedPage {
  MetafileRecords records;
  int darkPixels = 0;
  COLORREF pictureCentre = 0;
};

RenderedPage Render(const LegendPage& page, const std::string& name, POINT pictureCentrePoints = {}) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateEnhMetaFileA(screen, nullptr, nullptr, "Orvane II Template");
  ReleaseDC(nullptr, screen);
  RenderLegendPage(dc, page);
  const HENHMETAFILE emf = CloseEnhMetaFile(dc);
  RenderedPage out;
  EnumEnhMetaFile(nullptr, emf, &CollectRecord, &out.records, nullptr);

  // The page at the reference's resolution: a point is 96/72 of a pixel.
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(emf, sizeof header, &header);
  const int w = 400, h = 340;
  wingui::DibBitmap picture(w, h);
  const RECT all{0, 0, w, h};
  wingui::FillSolid(picture.dc(), all, RGB(255, 255, 255));
  const RECT bounds = header.rclBounds.right > header.rclBounds.left
                          ? RECT{header.rclBounds.left, header.rclBounds.top, header.rclBounds.right + 1, header.rclBounds.bottom + 1}
                          : all;
  PlayEnhMetaFile(picture.dc(), emf, &bounds);
  GdiFlush();
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = picture.Pixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++out.darkPixels;
      rgb.push_back(GetRValue(c));
      rgb.push_back(GetGValue(c));
      rgb.push_back(GetBValue(c));
    }
  out.pictureCentre = picture.Pixel(pictureCentrePoints.x * 96 / 72, pictureCentrePoints.y * 96 / 72);
  if (!name.empty()) {
    const std::string folder = testsupport::EnvOr("ORVANE_BIN") + "\\..\\pictures";
    CreateDirectoryA(folder.c_str(), nullptr);
    testsupport::WriteBinaryFile(folder + "\\" + name + ".png", testsupport::EncodePngRgb(w, h, rgb));
  }
  DeleteEnhMetaFile(emf);
  return out;
}

bool HasText(const MetafileRecords& r, const std::wstring& text) {
  for (const std::wstring& t : r.texts)
    if (t.find(text) != std::wstring::npos) return true;
  return false;
}

class LegendPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(keypad_.loaded);
    host_ = std::make_unique<ParentWindow>(keypad_.context);
  }
  CaptionRecord& Add(const CaptionBox& box, const wchar_t* text) {
    captions_.push_back(CaptionRecord::Create(host_->hwnd(), static_cast<int>(captions_.size()), box, 96, nullptr, nullptr));
    captions_.back()->SetPlainText(text);
    page_.captions.push_back(captions_.back().get());
    return *captions_.back();
  }

  GdiplusSession gdiplus_;
  Keypad keypad_;
  std::unique_ptr<ParentWindow> host_;
  std::vector<std::unique_ptr<CaptionRecord>> captions_;
  LegendPage page_;
};

TEST_F(LegendPageTest, CaptionsPicturesAndOutlinesOnThePage) {
  Add({22, 69, 56, 14}, L"Copy");
  CaptionRecord& picture = Add({82, 69, 56, 30}, L"Paste");
  ASSERT_TRUE(picture.TakePicture(Wide(SmallPicture())));
  Add({142, 69, 56, 14}, L"Coloured").SetColour(RGB(255, 220, 0));
  Add({202, 69, 56, 14}, L"");

  const RenderedPage sheet = Render(page_, "legend_sheet_page", {82 + 8, 69 + 8});
  // Wine's rich-edit control prints nothing itself; the captions are drawn as text all the same.
  EXPECT_TRUE(HasText(sheet.records, L"Copy"));
  EXPECT_TRUE(HasText(sheet.records, L"Paste"));
  EXPECT_TRUE(HasText(sheet.records, L"Coloured"));
  EXPECT_GE(sheet.records.pictures, 1);
  EXPECT_GT(sheet.darkPixels, 0);
  // The picture is where it was in its box, at its own size.
  EXPECT_GT(GetGValue(sheet.pictureCentre), GetRValue(sheet.pictureCentre) + 40);

  page_.dieCut = true;
  const RenderedPage dieCut = Render(page_, "legend_sheet_page_die_cut");
  EXPECT_TRUE(HasText(dieCut.records, L"Copy"));
  EXPECT_GE(dieCut.records.pictures, 1);
  // Die-cut: one outline fewer for every caption.
  EXPECT_GE(sheet.records.lines - dieCut.records.lines, 4) << sheet.records.lines << " " << dieCut.records.lines;
}

// --- The printer -----------------------------------------------------------------------------

std::string UnixPath(const std::string& windowsPath) {
  std::string p = windowsPath.size() > 2 && windowsPath[1] == ':' ? windowsPath.substr(2) : windowsPath;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

std::string PrintedFolder() { return testsupport::EnvOr("ORVANE_BIN") + "\\..\\printed"; }

// Wine's PostScript driver as a printer of the prefix, printing into a file of the build: its
// generic PPD from the spooler's resources, the driver and the printer once, the port's file
// every time.
bool EnsureTestPrinter() {
  HANDLE printer = nullptr;
  if (OpenPrinterA(const_cast<char*>(kPrinter), &printer, nullptr)) {
    ClosePrinter(printer);
    return true;
  }
  const HMODULE spooler = LoadLibraryA("winspool.drv");
  const HRSRC resource = spooler ? FindResourceA(spooler, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
  if (!resource) return false;
  const char* ppd = static_cast<const char*>(LockResource(LoadResource(spooler, resource)));
  DWORD size = SizeofResource(spooler, resource);
  if (const void* end = std::memchr(ppd, 0, size)) size = static_cast<DWORD>(static_cast<const char*>(end) - ppd);
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string ppdPath = std::string(temp) + "orvane_test_printer.ppd";
  if (!testsupport::WriteTextFile(ppdPath, std::string(ppd, size))) return false;

  DRIVER_INFO_3A driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(kPrinter);
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>(ppdPath.c_str());
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  driver.pDefaultDataType = const_cast<char*>("RAW");
  if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) &&
      GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
    return false;
  PRINTER_INFO_2A info{};
  info.pPrinterName = const_cast<char*>(kPrinter);
  info.pPortName = const_cast<char*>(kPort);
  info.pDriverName = const_cast<char*>(kPrinter);
  // The spooler's own processor takes the driver's PostScript as it is.
  info.pPrintProcessor = const_cast<char*>("winprint");
  info.pDatatype = const_cast<char*>("RAW");
  info.pParameters = info.pShareName = info.pSepFile = info.pComment = info.pLocation = const_cast<char*>("");
  printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) return false;
  if (printer) ClosePrinter(printer);
  return true;
}

// The next job on the port goes into that file of the build's "printed" folder.
std::string PrintInto(const std::string& name) {
  CreateDirectoryA(PrintedFolder().c_str(), nullptr);
  const std::string file = PrintedFolder() + "\\" + name;
  DeleteFileA(file.c_str());
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\Printing\\Spooler", &key);
  const std::string target = UnixPath(file);
  RegSetValueExA(key, kPort, 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()), static_cast<DWORD>(target.size() + 1));
  RegCloseKey(key);
  return file;
}

// The whole PostScript file of a finished job, or "" when none came.
std::string PrintedJob(const std::string& file) {
  std::string text;
  testsupport::WaitUntil([&] { return testsupport::ReadTextFile(file, text) && text.find("%%EOF") != std::string::npos; }, 5000);
  return text.find("%%EOF") != std::string::npos ? text : "";
}

class LegendPrintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { printerReady_ = EnsureTestPrinter(); }
  void SetUp() override {
    ASSERT_TRUE(gdiplus_.Ok());
    ASSERT_TRUE(printerReady_);
    ASSERT_TRUE(SetDefaultPrinterA(kPrinter));
  }
  // The sample keypad's programming window in the editor, its first keys captioned.
  void OpenEditor(const std::string& extraLayoutLines = "") {
    host_ = std::make_unique<ProgrammingWindowOnKeypad>(platform_, extraLayoutLines);
    ASSERT_TRUE(IsWindow(host_->hwnd()));
    SendMessageA(host_->hwnd(), WM_COMMAND, IDM_PW_LEGEND_MAKER, 0);
    ASSERT_TRUE(IsLegendMakerActive(host_->hwnd()));
    const std::vector<HWND> boxes = CaptionBoxes(host_->hwnd());
    ASSERT_EQ(boxes.size(), 12u);
    const wchar_t* texts[] = {L"Copy", L"Paste", L"Undo", L"Mail"};
    for (int i = 0; i < 4; ++i) wingui::RichEdit(boxes[static_cast<std::size_t>(i)]).SetTextWide(texts[i]);
  }
  void Print() { SendMessageA(host_->hwnd(), WM_COMMAND, IDM_LEGEND_PRINT, 0); }
  // Print..., OK in the print dialog: the job's PostScript, which must be one page of the
  // editor's document.
  std::string PrintThroughTheDialog(const std::string& name) {
    const std::string file = PrintInto(name);
    DialogAnswer ok("Print", IDOK);
    Print();
    EXPECT_TRUE(ok.Found());
    const std::string job = PrintedJob(file);
    EXPECT_NE(job.find("%%Title: Orvane II Template"), std::string::npos);
    EXPECT_NE(job.find("%%Pages: 1"), std::string::npos);
    return job;
  }
  void TearDown() override {
    if (host_) {
      platform_.SetBoxAnswer(BoxAnswer::No);
      SendMessageA(host_->hwnd(), WM_COMMAND, IDM_LEGEND_EXIT, 0);
      host_.reset();
    }
    PumpMessages(20);
  }

  static inline bool printerReady_ = false;
  GdiplusSession gdiplus_;
  RecordedSystemCalls platform_;
  std::unique_ptr<ProgrammingWindowOnKeypad> host_;
};

TEST_F(LegendPrintTest, APlainSheetThroughThePrintDialog) {
  OpenEditor();
  EXPECT_NE(PrintThroughTheDialog("legend_sheet_plain.ps").find("%%Orientation: Portrait"), std::string::npos);

  // Cancelled: nothing printed.
  const std::string none = PrintInto("legend_sheet_cancelled.ps");
  DialogAnswer cancel("Print", IDCANCEL);
  Print();
  EXPECT_TRUE(cancel.Found());
  PumpMessages(200);
  EXPECT_FALSE(testsupport::FileExists(none));
}

TEST_F(LegendPrintTest, ADieCutSheetIsStatementPaperAcross) {
  // The device's own layout names its paper.
  OpenEditor("paperType dieCut\n");
  EXPECT_NE(PrintThroughTheDialog("legend_sheet_die_cut.ps").find("%%Orientation: Landscape"), std::string::npos);
}

TEST_F(LegendPrintTest, ADieCutSheetWithoutADefaultPrinterIsNotPrinted) {
  OpenEditor("paperType dieCut\n");
  // No default printer: the device of the user's "Windows" settings goes for the test.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                          KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  RegDeleteValueA(key, "Device");
  RegCloseKey(key);
  const std::string file = PrintInto("legend_sheet_no_printer.ps");
  DialogAnswer none("Print", IDCANCEL, 1000);
  Print();
  EXPECT_FALSE(none.Found());
  EXPECT_FALSE(testsupport::FileExists(file));
  EXPECT_TRUE(SetDefaultPrinterA(kPrinter));
}

}  // namespace
