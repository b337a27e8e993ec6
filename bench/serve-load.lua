-- wrk script: GET of random result files CODE.txt among the codes the tree
-- holds (600000 .. 600000 + SERVE_BENCH_FILES - 1). wrk counts every answer
-- with a status above 399 as a status error.
local count = tonumber(os.getenv("SERVE_BENCH_FILES") or "3000")
local base = os.getenv("SERVE_BENCH_BASE") or "/orvane"
local close = os.getenv("SERVE_BENCH_CLOSE") == "1"

request = function()
  local code = 600000 + math.random(0, count - 1)
  local headers = close and { ["Connection"] = "close" } or nil
  return wrk.format("GET", base .. "/const/hisdata/retdata/" .. code .. ".txt", headers)
end

done = function(summary, latency, requests)
  local e = summary.errors
  io.write(string.format("result files: %d requests, %.0f/s; failed: status %d, connect %d, " ..
                         "read %d, write %d, timeout %d\n",
                         summary.requests, summary.requests / (summary.duration / 1e6),
                         e.status, e.connect, e.read, e.write, e.timeout))
end
