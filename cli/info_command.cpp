#include <cstdio>
#include <iostream>
#include <sstream>

#include "cli/commands.h"
#include "image/layout.h"
#include "image/messages.h"

namespace tarn::cli {

const char* const kInfoUsage =
    "usage: tarn-cli info IMAGE [--json]\n"
    "\n"
    "Shows the image's length, its header format and why, every record found on a\n"
    "paragraph, and where a rebuild with the image's own records would put them.\n"
    "Reads IMAGE only.\n"
    "\n"
    "  --json   the same as one JSON object\n";

namespace {

std::string Hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(v));
  return text;
}

const char* AreaOf(uint64_t offset) { return offset < kRebuiltAreaEnd ? "rebuilt" : "kept"; }

std::string FormatReason(const ImageLayout& l) {
  if (!l.versionOffset) return "no $VER record";
  return "$VER at " + Hex(*l.versionOffset) + " states " + l.versionDigits + " (" +
         std::to_string(l.version) + (l.newFormat ? " >= " : " < ") + std::to_string(kFirstNewFormatVersion) +
         ")";
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", c);
      out += esc;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

void PrintText(const ImageLayout& l, const std::string& path) {
  const HeaderFormat f = FormatOf(l.newFormat);
  std::printf("Image     %s\n", path.c_str());
  std::printf("Length    %s (%llu bytes)\n", Hex(l.length).c_str(),
              static_cast<unsigned long long>(l.length));
  std::printf("Format    %s: %u-byte headers, %s-byte palettes; %s\n", l.newFormat ? "new" : "old",
              unsigned(f.headerSize), Hex(f.paletteBlockSize).c_str(), FormatReason(l).c_str());

  std::printf("\nRecords   %zu found on paragraphs\n", l.records.size());
  std::printf("  %-9s  %-10s  %-11s  %-7s  %s\n", "SIGNATURE", "OFFSET", "BLOCK", "AREA", "NOTE");
  for (const RecordReport& r : l.records) {
    const std::string note = !r.collected ? "decides the format, never copied"
                             : r.fits     ? ""
                                          : "runs past the end of the image";
    std::printf("  %-9s  %-10s  %-11s  %-7s  %s\n", SignatureName(r.sig).c_str(), Hex(r.offset).c_str(),
                r.collected ? Hex(r.blockSize).c_str() : "-", AreaOf(r.offset), note.c_str());
  }

  std::printf("\nRebuild   with the image's own logo and palette\n");
  if (!l.fits) {
    std::printf("  does not fit: %s\n", l.problem.c_str());
    return;
  }
  std::printf("  %-10s  %-10s  %-9s  %s\n", "START", "END", "SIZE", "CONTENT");
  if (l.newFormat)
    std::printf("  %-10s  %-10s  %-9s  %s\n", Hex(0).c_str(), Hex(l.top - 1).c_str(), Hex(l.top).c_str(),
                ("$PAD filler, T = " + Hex(l.top)).c_str());
  for (const PlacedBlock& b : l.blocks)
    std::printf("  %-10s  %-10s  %-9s  %s\n", Hex(b.start).c_str(), Hex(b.start + b.size - 1).c_str(),
                Hex(b.size).c_str(), (SignatureName(b.sig) + " from " + Hex(b.source)).c_str());
  std::printf("  %-10s  %-10s  %-9s  %s\n", Hex(kRebuiltAreaEnd).c_str(), Hex(l.length - 1).c_str(),
              Hex(l.length - kRebuiltAreaEnd).c_str(), "kept area, copied unchanged");
  std::printf("Free      %s bytes below the lowest block\n", Hex(l.freeBytes).c_str());
}

void PrintJson(const ImageLayout& l, const std::string& path) {
  std::ostringstream o;
  o << "{\n  \"image\": " << Json(path) << ",\n  \"length\": " << l.length << ",\n  \"format\": \""
    << (l.newFormat ? "new" : "old") << "\",\n  \"header_size\": " << FormatOf(l.newFormat).headerSize
    << ",\n  \"version\": ";
  if (l.versionOffset)
    o << "{\"offset\": " << *l.versionOffset << ", \"digits\": " << Json(l.versionDigits)
      << ", \"value\": " << l.version << "}";
  else
    o << "null";
  o << ",\n  \"records\": [";
  for (size_t i = 0; i < l.records.size(); ++i) {
    const RecordReport& r = l.records[i];
    o << (i ? "," : "") << "\n    {\"signature\": " << Json(SignatureName(r.sig))
      << ", \"offset\": " << r.offset << ", \"area\": \"" << AreaOf(r.offset)
      << "\", \"collected\": " << (r.collected ? "true" : "false");
    if (r.collected)
      o << ", \"block_size\": " << r.blockSize << ", \"fits\": " << (r.fits ? "true" : "false");
    o << "}";
  }
  o << "\n  ],\n  \"rebuild\": {\"fits\": " << (l.fits ? "true" : "false");
  if (!l.fits) {
    o << ", \"problem\": " << Json(l.problem) << "}\n}\n";
    std::cout << o.str();
    return;
  }
  o << ", \"filler_top\": " << (l.newFormat ? std::to_string(l.top) : "null")
    << ", \"lowest_block\": " << l.top << ", \"free_bytes\": " << l.freeBytes << ", \"blocks\": [";
  for (size_t i = 0; i < l.blocks.size(); ++i) {
    const PlacedBlock& b = l.blocks[i];
    o << (i ? "," : "") << "\n    {\"signature\": " << Json(SignatureName(b.sig))
      << ", \"source\": " << b.source << ", \"start\": " << b.start << ", \"size\": " << b.size << "}";
  }
  o << "\n  ]}\n}\n";
  std::cout << o.str();
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << kInfoUsage;
      return kExitCompleted;
    }
    if (arg == "--json")
      json = true;
    else if (arg.size() > 1 && arg[0] == '-')
      return UsageError("unknown option '" + arg + "'", kInfoUsage);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 1) return UsageError("info takes exactly one IMAGE", kInfoUsage);
  const std::string& path = positional[0];

  CFile file;
  if (!file.Open(path.c_str(), CFile::modeRead)) {
    std::cerr << msg::OpenError(path) << std::endl;
    return kExitFailed;
  }
  try {
    const uint64_t length = file.GetLength();
    if (length < kRebuiltAreaEnd) {
      std::cerr << msg::ImageTooShort(path, length) << std::endl;
      return kExitFailed;
    }
    RomImage image;
    image.Load(file);
    const ImageLayout layout = DescribeImage(image, path);
    json ? PrintJson(layout, path) : PrintText(layout, path);
  } catch (const CFileException& e) {
    std::cerr << e.what() << std::endl;
    return kExitFailed;
  } catch (const std::bad_alloc&) {
    std::cerr << "Not enough memory to read " << path << std::endl;
    return kExitFailed;
  }
  return kExitCompleted;
}

}  // namespace tarn::cli
