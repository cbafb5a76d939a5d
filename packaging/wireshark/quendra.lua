-- Quendra host protocol for Wireshark and tshark: UDP port 1901.
--
-- Shows the LAN frame (0xAA request from the tool, 0x55 reply from a host,
-- length, command, host MAC, frame sum), the tunnel frame inside command 10/11
-- (tunnel command with its parameter group and record number, CRC-16/MODBUS,
-- the reply trailer with the firmware version high * 100 + low) and every
-- field of every parameter record, named by the keys quendra-config uses for
-- them (filter e.g. quendra.base.terminalAddress, quendra.channel.upperLimit1).
--
-- Installed by the quendra-config package into Wireshark's global Lua plugin
-- folder. Without it: tshark -X lua_script:quendra.lua -r capture.pcapng

local quendra = Proto("quendra", "Quendra host protocol")
local PORT = 1901

------------------------------------------------------------------------------
-- Records: {key, kind, payload offset, text bytes}. Keys, order and layout
-- follow the tool's records; tests/wireshark checks them against the codecs.

local U8, U16, HEX32, F32, IPV4, TEXT, MODE = 1, 2, 3, 4, 5, 6, 7

local records = {
  network = { title = "Network settings", size = 292, fields = {
    { "addressMode", MODE, 0 }, { "hostAddress", IPV4, 1 }, { "gateway", IPV4, 5 },
    { "subnetMask", IPV4, 9 }, { "maxConnections", U8, 19 },
    { "sourcePort1", U16, 20 }, { "listenPort1", U16, 22 }, { "serverAddress1", TEXT, 24, 30 },
    { "sourcePort2", U16, 54 }, { "listenPort2", U16, 56 }, { "serverAddress2", TEXT, 58, 30 },
  } },
  base = { title = "Base parameters", size = 27, fields = {
    { "terminalAddress", HEX32, 1 }, { "serverCount", U8, 0 }, { "loginInterval", U16, 5 },
    { "heartbeatInterval", U16, 7 }, { "dataInterval", U16, 9 }, { "modbusBaud", U8, 11 },
    { "enabledChannelCount", U8, 12 }, { "normalRecordInterval", U16, 13 },
    { "alarmRecordInterval", U16, 15 }, { "storageType", U8, 17 }, { "coordinateEnabled", U8, 18 },
    { "longitude", F32, 19 }, { "latitude", F32, 23 },
  } },
  gprs = { title = "GPRS parameters", size = 137, fields = {
    { "loginInterval", U16, 0 }, { "heartbeatInterval", U16, 2 }, { "dataInterval", U16, 4 },
    -- the last byte of the address (65) and port (8) areas always ends the text
    { "targetAddress", TEXT, 6, 64 }, { "targetPort", TEXT, 71, 7 }, { "alarmPhoneMask", U8, 79 },
    { "alarmPhone1", TEXT, 80, 11 }, { "alarmPhone2", TEXT, 91, 11 }, { "alarmPhone3", TEXT, 102, 11 },
    { "alarmPhone4", TEXT, 113, 11 }, { "alarmPhone5", TEXT, 124, 11 },
    { "smsInterval", U8, 135 }, { "workType", U8, 136 },
  } },
  led = { title = "LED screen parameters", size = 141, fields = {
    { "showDataTable", U8, 0 }, { "headerEnabled", U8, 1 }, { "footerEnabled", U8, 2 },
    { "sizeX", U16, 3 }, { "sizeY", U16, 5 }, { "channelCount", U16, 7 }, { "columnCount", U16, 9 },
    { "refreshInterval", U16, 11 }, { "headerText", TEXT, 13, 64 }, { "footerText", TEXT, 77, 64 },
  } },
  channel = { title = "Channel", size = 104, fields = {
    { "dataSource", U8, 0 }, { "upperLimit1", F32, 1 }, { "lowerLimit1", F32, 5 },
    { "coefA1", F32, 9 }, { "coefB1", F32, 13 }, { "hysteresis1", F32, 17 },
    { "name1", TEXT, 21, 20 }, { "unit1", TEXT, 41, 6 },
    { "upperLimit2", F32, 47 }, { "lowerLimit2", F32, 51 }, { "coefA2", F32, 55 },
    { "coefB2", F32, 59 }, { "hysteresis2", F32, 63 }, { "name2", TEXT, 67, 20 }, { "unit2", TEXT, 87, 6 },
    { "relayUpper1", U8, 93 }, { "relayLower1", U8, 94 }, { "relayUpper2", U8, 95 },
    { "relayLower2", U8, 96 }, { "dataProperty", U8, 97 }, { "alarmDelay", U16, 98 },
    { "smsOnAlarm1", U8, 100 }, { "smsOnAlarm2", U8, 101 }, { "smsOnRestore1", U8, 102 },
    { "smsOnRestore2", U8, 103 },
  } },
  modbus = { title = "ModBus slot", size = 7, fields = {
    { "slaveAddress", U8, 0 }, { "slotEnabled", U8, 1 }, { "deviceType", U8, 2 },
    { "registerStart", U16, 3 }, { "registerCount", U16, 5 },
  } },
  relay = { title = "Relay", size = 5, fields = {
    { "workMode", U8, 0 }, { "startInterval", U16, 1 }, { "startDuration", U16, 3 },
  } },
}

-- Parameter groups, numbered as the tool numbers them, with their tunnel
-- commands: read request / data reply, write request / acknowledgement.
local groups = {
  { id = 0, name = "network", record = records.network },
  { id = 1, name = "base", read = 1, write = 2, count = 1, record = records.base },
  { id = 2, name = "gprs", read = 3, write = 4, count = 1, record = records.gprs },
  { id = 3, name = "led", read = 150, write = 149, count = 1, record = records.led },
  { id = 4, name = "channel", read = 5, write = 37, count = 32, record = records.channel },
  { id = 5, name = "modbus", read = 85, write = 117, count = 32, record = records.modbus },
  { id = 6, name = "relay", read = 69, write = 77, count = 8, record = records.relay },
}

-- The group, whether it writes, and the record index of a tunnel command.
local function classify(command)
  for _, g in ipairs(groups) do
    if g.read then
      if command >= g.read and command < g.read + g.count then return g, false, command - g.read end
      if command >= g.write and command < g.write + g.count then return g, true, command - g.write end
    end
  end
  return nil
end

local function record_name(g, index)
  if g.count and g.count > 1 then return g.record.title .. " " .. (index + 1) end
  return g.record.title
end

------------------------------------------------------------------------------
-- Fields

local OUTER_COMMANDS = {
  [2] = "Search", [3] = "Read network settings", [4] = "Write network settings",
  [6] = "Network factory reset", [10] = "Tunnel", [11] = "Tunnel", [15] = "Write MAC",
}
local group_names, tunnel_names = {}, {}
for _, g in ipairs(groups) do group_names[g.id] = g.name end
for c = 1, 150 do
  local g, write, index = classify(c)
  tunnel_names[c] = (write and "write " or "read ") .. record_name(g, index)
end

local pf = {
  marker = ProtoField.uint8("quendra.marker", "Marker", base.HEX,
                            { [0xAA] = "request (tool to host)", [0x55] = "reply (host to tool)" }),
  length = ProtoField.uint16("quendra.length", "Length", base.DEC),
  command = ProtoField.uint8("quendra.command", "Command", base.DEC, OUTER_COMMANDS),
  mac = ProtoField.ether("quendra.mac", "Host MAC"),
  new_mac = ProtoField.ether("quendra.new_mac", "New MAC"),
  sum = ProtoField.uint8("quendra.sum", "Frame sum", base.HEX),
  search_ip = ProtoField.ipv4("quendra.search.ip", "Host address"),
  search_mac = ProtoField.ether("quendra.search.mac", "Host MAC"),
  search_firmware = ProtoField.uint16("quendra.search.firmware", "Firmware version", base.DEC),
  search_name = ProtoField.string("quendra.search.name", "Host name"),
  tunnel = ProtoField.none("quendra.tunnel", "Tunnel frame"),
  trailer = ProtoField.none("quendra.trailer", "Reply trailer"),
  tunnel_start = ProtoField.uint8("quendra.tunnel.start", "Start byte", base.HEX),
  tunnel_command = ProtoField.uint8("quendra.tunnel.command", "Tunnel command", base.DEC, tunnel_names),
  tunnel_group = ProtoField.uint8("quendra.tunnel.group", "Parameter group", base.DEC, group_names),
  tunnel_record = ProtoField.uint8("quendra.tunnel.record", "Record number", base.DEC),
  tunnel_write = ProtoField.bool("quendra.tunnel.write", "Write"),
  tunnel_crc = ProtoField.uint16("quendra.tunnel.crc", "CRC-16/MODBUS", base.HEX),
  trailer_marker = ProtoField.uint8("quendra.trailer.marker", "Trailer marker", base.HEX),
  version_high = ProtoField.uint8("quendra.trailer.version_high", "Version, high part", base.DEC),
  version_low = ProtoField.uint8("quendra.trailer.version_low", "Version, low part", base.DEC),
  version = ProtoField.uint16("quendra.trailer.version", "Firmware version", base.DEC),
  trailer_fixed = ProtoField.uint8("quendra.trailer.fixed", "Fixed byte", base.HEX),
  trailer_spare = ProtoField.uint8("quendra.trailer.spare", "Spare byte", base.HEX),
}

local KIND_FIELD = {
  [U8] = function(a, n) return ProtoField.uint8(a, n, base.DEC) end,
  [U16] = function(a, n) return ProtoField.uint16(a, n, base.DEC) end,
  [HEX32] = function(a, n) return ProtoField.uint32(a, n, base.HEX) end,
  -- Singles travel; shown as doubles, because Wireshark 4.0 prints FT_FLOAT
  -- with 6 digits, which does not give the single back.
  [F32] = function(a, n) return ProtoField.double(a, n) end,
  [IPV4] = function(a, n) return ProtoField.ipv4(a, n) end,
  [TEXT] = function(a, n) return ProtoField.string(a, n) end,
  [MODE] = function(a, n) return ProtoField.uint8(a, n, base.DEC, { [0] = "static", [1] = "automatic (DHCP)" }) end,
}
for _, g in ipairs(groups) do
  g.record.field = ProtoField.none("quendra." .. g.name, g.record.title)
  pf[g.name] = g.record.field
  for _, f in ipairs(g.record.fields) do
    f.field = KIND_FIELD[f[2]]("quendra." .. g.name .. "." .. f[1], f[1])
    pf[g.name .. "." .. f[1]] = f.field
  end
end
quendra.fields = pf

local ef = {
  short = ProtoExpert.new("quendra.short", "Datagram shorter than its fields", expert.group.MALFORMED, expert.severity.ERROR),
  marker = ProtoExpert.new("quendra.bad_marker", "Neither a request (0xAA) nor a reply (0x55)", expert.group.MALFORMED, expert.severity.ERROR),
  length = ProtoExpert.new("quendra.bad_length", "Length field does not match the datagram", expert.group.MALFORMED, expert.severity.ERROR),
  sum = ProtoExpert.new("quendra.bad_sum", "Frame sum wrong: hosts ignore this request", expert.group.CHECKSUM, expert.severity.ERROR),
  reply_sum = ProtoExpert.new("quendra.bad_reply_sum", "Frame sum wrong (the tool does not check it)", expert.group.CHECKSUM, expert.severity.NOTE),
  command = ProtoExpert.new("quendra.unknown_command", "Unknown command", expert.group.MALFORMED, expert.severity.ERROR),
  crc = ProtoExpert.new("quendra.bad_crc", "Tunnel CRC wrong: the tool drops this frame", expert.group.CHECKSUM, expert.severity.ERROR),
  start = ProtoExpert.new("quendra.bad_start", "Tunnel frame does not start with 0x7E", expert.group.MALFORMED, expert.severity.ERROR),
  version = ProtoExpert.new("quendra.version_refused", "Trailer refused: the tool serves firmware 703..999 only", expert.group.PROTOCOL, expert.severity.WARN),
  record = ProtoExpert.new("quendra.short_record", "Shorter than its record: the tool drops it", expert.group.MALFORMED, expert.severity.ERROR),
}
quendra.experts = ef

------------------------------------------------------------------------------
-- Helpers

-- CRC-16 of the ModBus RTU standard: reflected 0xA001, preset 0xFFFF.
local function crc16(tvb, offset, length)
  local crc = 0xFFFF
  for i = offset, offset + length - 1 do
    crc = bit32.bxor(crc, tvb(i, 1):uint())
    for _ = 1, 8 do
      if bit32.band(crc, 1) ~= 0 then crc = bit32.bxor(bit32.rshift(crc, 1), 0xA001)
      else crc = bit32.rshift(crc, 1) end
    end
  end
  return crc
end

-- The 8-bit sum of bytes from..to (inclusive).
local function byte_sum(tvb, from, to)
  local sum = 0
  for i = from, to do sum = (sum + tvb(i, 1):uint()) % 256 end
  return sum
end

-- A GBK text area: the range of its bytes up to the first zero.
local function text_range(tvb, offset, width)
  local n = width
  for i = 0, width - 1 do
    if tvb(offset + i, 1):uint() == 0 then n = i break end
  end
  return tvb(offset, n)
end

-- The shortest text that reads back as the same single-precision number.
local function single_text(value)
  local bits = Struct.pack("<f", value)
  for digits = 6, 9 do
    local text = string.format("%." .. digits .. "g", value)
    if Struct.pack("<f", tonumber(text)) == bits then return text end
  end
  return string.format("%.9g", value)
end

local function add_sum(tree, tvb, at, expert_info)
  local item = tree:add(pf.sum, tvb(at, 1))
  local expected = byte_sum(tvb, 3, at - 1)
  if tvb(at, 1):uint() ~= expected then item:add_proto_expert_info(expert_info, string.format("should be 0x%02x", expected)) end
end

-- Every field of a record whose payload starts at `offset`; false when the
-- payload is shorter than the record.
local function add_record(tree, tvb, offset, available, record, title)
  if available < record.size then
    tree:add_proto_expert_info(ef.record, string.format("%s: %d of %d bytes", title, available, record.size))
    return false
  end
  local t = tree:add(record.field, tvb(offset, record.size)):set_text(title)
  for _, f in ipairs(record.fields) do
    local kind, at = f[2], offset + f[3]
    if kind == U8 then t:add(f.field, tvb(at, 1))
    elseif kind == U16 then t:add_le(f.field, tvb(at, 2))
    elseif kind == HEX32 or kind == IPV4 then t:add_le(f.field, tvb(at, 4))
    elseif kind == F32 then
      local value = tvb(at, 4):le_float()
      t:add(f.field, tvb(at, 4), value):set_text(f[1] .. ": " .. single_text(value))
    elseif kind == TEXT then t:add_packet_field(f.field, text_range(tvb, at, f[4]), ENC_GB18030)
    elseif kind == MODE then
      -- bit 7 set: static address (0 in the tool's list), clear: automatic (1)
      t:add(f.field, tvb(at, 1), bit32.band(tvb(at, 1):uint(), 0x80) ~= 0 and 0 or 1)
    end
  end
  return true
end

-- Start byte, command, group, record and access of a tunnel frame; returns
-- the command's item, the group, whether it writes, and the record index
-- (no group for an unknown command).
local function add_tunnel_command(tree, tvb)
  tree:add(pf.tunnel_start, tvb(0, 1))
  local item = tree:add(pf.tunnel_command, tvb(1, 1))
  local g, write, index = classify(tvb(1, 1):uint())
  if g then
    tree:add(pf.tunnel_group, tvb(1, 1), g.id)
    tree:add(pf.tunnel_record, tvb(1, 1), index + 1)
    tree:add(pf.tunnel_write, tvb(1, 1), write)
  end
  return item, g, write, index
end

-- The checks in the order the tool and the hosts make them, after the CRC:
-- the start byte, then (for replies) the version gate, then the command.
local function bad_start(tree, tvb)
  if tvb(0, 1):uint() == 0x7E then return false end
  tree:add_proto_expert_info(ef.start)
  return true
end

local function unknown_command(item, tvb)
  item:add_proto_expert_info(ef.command, "Unknown tunnel command " .. tvb(1, 1):uint())
end

-- The CRC over bytes 0..n-3, low byte first at n-2.
local function add_crc(tree, tvb)
  local n = tvb:len()
  local item = tree:add_le(pf.tunnel_crc, tvb(n - 2, 2))
  local expected = crc16(tvb, 0, n - 2)
  if tvb(n - 2, 2):le_uint() ~= expected then
    item:add_proto_expert_info(ef.crc, string.format("Tunnel CRC wrong (should be 0x%04x)", expected))
    return false
  end
  return true
end

------------------------------------------------------------------------------
-- Tunnel frames

local function dissect_tunnel_request(tvb, pinfo, tree)
  local n = tvb:len()
  local t = tree:add(pf.tunnel, tvb()):set_text("Tunnel request")
  if n < 4 then t:add_proto_expert_info(ef.short) return "Tunnel request (short)" end
  local command_item, g, write, index = add_tunnel_command(t, tvb)
  if not add_crc(t, tvb) then return "Tunnel request, bad CRC" end
  if bad_start(t, tvb) then return "Tunnel request, wrong start byte" end
  if not g then
    unknown_command(command_item, tvb)
    return "Tunnel request, unknown command"
  end
  local info = (write and "Tunnel write " or "Tunnel read ") .. record_name(g, index)
  if write and not add_record(t, tvb, 2, n - 4, g.record, record_name(g, index)) then
    return info .. ", shorter than its record"
  end
  return info
end

local function dissect_tunnel_reply(tvb, pinfo, tree)
  local n = tvb:len()
  local t = tree:add(pf.tunnel, tvb()):set_text("Tunnel reply")
  if n < 7 then t:add_proto_expert_info(ef.short) return "Tunnel reply (short)" end
  local command_item, g, write, index = add_tunnel_command(t, tvb)
  local crc_ok = add_crc(t, tvb)
  local trailer = t:add(pf.trailer, tvb(n - 7, 5))
  trailer:add(pf.trailer_marker, tvb(n - 7, 1))
  trailer:add(pf.version_high, tvb(n - 6, 1))
  trailer:add(pf.version_low, tvb(n - 5, 1))
  local version = (tvb(n - 6, 1):uint() * 100 + tvb(n - 5, 1):uint()) % 65536
  local version_item = trailer:add(pf.version, tvb(n - 6, 2), version)
  trailer:add(pf.trailer_fixed, tvb(n - 4, 1))
  trailer:add(pf.trailer_spare, tvb(n - 3, 1))
  if not crc_ok then return "Tunnel reply, bad CRC" end
  if bad_start(t, tvb) then return "Tunnel reply, wrong start byte" end
  if tvb(n - 7, 1):uint() ~= 0x99 or tvb(n - 4, 1):uint() ~= 0x04 or version < 703 or version > 999 then
    version_item:add_proto_expert_info(ef.version)
    return "Tunnel reply, version refused (" .. version .. ")"
  end
  if not g then
    unknown_command(command_item, tvb)
    return "Tunnel reply, unknown command"
  end
  local name = record_name(g, index)
  if write then return "Write acknowledged: " .. name end
  if not add_record(t, tvb, 2, n - 9, g.record, name) then return "Data reply: " .. name .. ", shorter than its record" end
  return "Data reply: " .. name .. ", version " .. version
end

------------------------------------------------------------------------------
-- LAN frames

local function dissect_request(tvb, pinfo, tree)
  local len = tvb:len()
  if len < 5 then tree:add_proto_expert_info(ef.short) return "Request (short)" end
  local length_item = tree:add(pf.length, tvb(1, 2))
  if tvb(1, 2):uint() ~= len - 4 then length_item:add_proto_expert_info(ef.length) end
  local command = tvb(3, 1):uint()
  local command_item = tree:add(pf.command, tvb(3, 1))
  add_sum(tree, tvb, len - 1, ef.sum)
  if command == 2 then return "Search request" end
  if len < 11 then tree:add_proto_expert_info(ef.short) return "Request (short)" end
  tree:add(pf.mac, tvb(4, 6))
  local to = " to " .. tostring(tvb(4, 6):ether())
  local body = len - 11
  if command == 3 then return "Read network settings" .. to
  elseif command == 4 then
    if not add_record(tree, tvb, 10, body, records.network, records.network.title) then
      return "Write network settings (short)" .. to
    end
    return "Write network settings" .. to
  elseif command == 6 then return "Network factory reset" .. to
  elseif command == 15 then
    if body < 6 then tree:add_proto_expert_info(ef.short) return "Write MAC (short)" end
    tree:add(pf.new_mac, tvb(10, 6))
    return "Write MAC " .. tostring(tvb(10, 6):ether()) .. to
  elseif command == 10 then
    if body == 0 then tree:add_proto_expert_info(ef.short) return "Tunnel request (empty)" end
    return dissect_tunnel_request(tvb(10, body):tvb(), pinfo, tree) .. to
  end
  command_item:add_proto_expert_info(ef.command)
  return "Unknown request " .. command
end

-- Replies end with the frame sum after what their length field counts
-- (a tunnel reply's length is its tunnel block's); the tool does not check it.
local function add_reply_sum(tree, tvb, at)
  if at < tvb:len() then add_sum(tree, tvb, at, ef.reply_sum) end
end

local function dissect_reply(tvb, pinfo, tree)
  local len = tvb:len()
  if len < 4 then tree:add_proto_expert_info(ef.short) return "Reply (short)" end
  tree:add(pf.length, tvb(1, 2))
  local length = tvb(1, 2):uint()
  local command = tvb(3, 1):uint()
  local command_item = tree:add(pf.command, tvb(3, 1))
  if command == 2 then
    if len < 22 then tree:add_proto_expert_info(ef.short) return "Search answer (short)" end
    tree:add_le(pf.search_ip, tvb(8, 4))
    tree:add(pf.search_mac, tvb(12, 6))
    tree:add_le(pf.search_firmware, tvb(18, 2))
    -- the name ends at its zero or with the datagram
    tree:add_packet_field(pf.search_name, text_range(tvb, 22, len - 22), ENC_GB18030)
    add_reply_sum(tree, tvb, 3 + length)
    return "Search answer from " .. tostring(tvb(12, 6):ether()) .. ", firmware " .. tvb(18, 2):le_uint()
  end
  if command ~= 3 and command ~= 10 and command ~= 11 then
    command_item:add_proto_expert_info(ef.command)
    return "Unknown reply " .. command
  end
  if len < 10 then tree:add_proto_expert_info(ef.short) return "Reply (short)" end
  tree:add(pf.mac, tvb(4, 6))
  local from = " from " .. tostring(tvb(4, 6):ether())
  if command == 3 then
    if not add_record(tree, tvb, 10, len - 10, records.network, records.network.title) then
      return "Network settings (short)" .. from
    end
    add_reply_sum(tree, tvb, 3 + length)
    return "Network settings" .. from
  end
  if length == 0 or 10 + length > len then
    tree:add_proto_expert_info(ef.length, "Tunnel length " .. length .. " does not fit the datagram")
    return "Tunnel reply (bad length)" .. from
  end
  local info = dissect_tunnel_reply(tvb(10, length):tvb(), pinfo, tree)
  add_reply_sum(tree, tvb, 10 + length)
  return info .. from
end

function quendra.dissector(tvb, pinfo, tree)
  local len = tvb:len()
  if len == 0 then return 0 end
  pinfo.cols.protocol = "QUENDRA"
  local root = tree:add(quendra, tvb())
  local marker = tvb(0, 1):uint()
  root:add(pf.marker, tvb(0, 1))
  local info
  if marker == 0xAA then info = dissect_request(tvb, pinfo, root)
  elseif marker == 0x55 then info = dissect_reply(tvb, pinfo, root)
  else
    root:add_proto_expert_info(ef.marker)
    info = "Not a Quendra frame"
  end
  pinfo.cols.info = info
  root:append_text(": " .. info)
  return len
end

DissectorTable.get("udp.port"):add(PORT, quendra)
